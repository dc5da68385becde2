#include "os/DirFileStore.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <fstream>
#include <system_error>
#include <thread>

#include "core/base/Cp949.h"
#include "core/record/SafeName.h"

namespace zel {
namespace fs = std::filesystem;

namespace {

bool EndsWithNoCase(const std::string& text, const std::string& suffix)
{
    if (suffix.size() > text.size())
        return false;
    return std::equal(suffix.rbegin(), suffix.rend(), text.rbegin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

// Paths are built from UTF-8 explicitly, so the platform's narrow code page
// never gets a say.
fs::path Utf8Path(const std::string& utf8)
{
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8Name(const fs::path& path)
{
    const std::u8string name = path.filename().u8string();
    return std::string(name.begin(), name.end());
}

// A regular file that is not a link: links could lead out of the directory.
bool IsPlainFile(const fs::path& path)
{
    std::error_code ec;
    return fs::is_regular_file(fs::symlink_status(path, ec));
}

} // namespace

DirFileStore::DirFileStore(fs::path root, int writeAttempts)
    : root_(std::move(root)), writeAttempts_(std::max(1, writeAttempts))
{
}

bool DirFileStore::PathFor(const std::string& name, fs::path& out) const
{
    if (!IsBareName(name))
        return false;
    const std::string utf8 = Cp949ToUtf8(name);
    // A name that does not convert cleanly is refused rather than guessed.
    if (utf8.find('?') != std::string::npos)
        return false;
    const fs::path leaf = Utf8Path(utf8);
    if (leaf.has_parent_path() || leaf.filename() != leaf)
        return false;
    out = root_ / leaf;
    return true;
}

bool DirFileStore::Read(const std::string& name, std::string& out)
{
    fs::path path;
    if (!PathFor(name, path))
        return false;
    std::error_code ec;
    if (!IsPlainFile(path))
        return false;
    const auto size = fs::file_size(path, ec);
    if (ec || size > static_cast<std::uintmax_t>(kMaxReadSize))
        return false;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::string data(static_cast<std::size_t>(size), '\0');
    in.read(data.data(), static_cast<std::streamsize>(data.size()));
    data.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad())
        return false;
    out = std::move(data);
    return true;
}

bool DirFileStore::WriteOnce(const fs::path& target, const std::string& data)
{
    std::error_code ec;
    fs::create_directories(root_, ec);
    fs::path temp = target;
    temp.replace_filename(Utf8Path("." + Utf8Name(target) + ".part"));
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out.write(data.data(), static_cast<std::streamsize>(data.size()));
        out.flush();
        if (!out) {
            out.close();
            fs::remove(temp, ec);
            return false;
        }
    }
    fs::rename(temp, target, ec);
    if (ec) {
        fs::remove(temp, ec);
        return false;
    }
    return true;
}

bool DirFileStore::Write(const std::string& name, const std::string& data)
{
    fs::path path;
    if (!PathFor(name, path))
        return false;
    for (int attempt = 0; attempt < writeAttempts_; ++attempt) {
        if (attempt > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (WriteOnce(path, data))
            return true;
    }
    return false;
}

bool DirFileStore::Remove(const std::string& name)
{
    fs::path path;
    if (!PathFor(name, path))
        return false;
    // A link is removed itself, never what it points to.
    std::error_code ec;
    const auto status = fs::symlink_status(path, ec);
    if (ec || !(fs::is_regular_file(status) || fs::is_symlink(status)))
        return false;
    return fs::remove(path, ec) && !ec;
}

bool DirFileStore::Exists(const std::string& name)
{
    fs::path path;
    if (!PathFor(name, path))
        return false;
    return IsPlainFile(path);
}

long long DirFileStore::Size(const std::string& name)
{
    fs::path path;
    if (!PathFor(name, path))
        return -1;
    std::error_code ec;
    if (!IsPlainFile(path))
        return -1;
    const auto size = fs::file_size(path, ec);
    return ec ? -1 : static_cast<long long>(size);
}

std::vector<std::string> DirFileStore::List(const std::string& suffix)
{
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(root_, ec);
    if (ec)
        return names;
    for (const auto& entry : it) {
        if (!IsPlainFile(entry.path()))
            continue;
        const std::string utf8 = Utf8Name(entry.path());
        const std::string name = Utf8ToCp949(utf8);
        if (IsBareName(name) && EndsWithNoCase(name, suffix) && Cp949ToUtf8(name) == utf8)
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace zel
