#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "core/ports/FileStore.h"

namespace zel {

// FileStore over one real directory (the record directory, the banner
// directory). Names are CP949 bytes and must be bare names (IsBareName); on
// disk they are UTF-8. Any other name is refused before the file system is
// touched; links inside the directory are neither read nor listed. Write
// replaces a file through a temporary file in the same directory, so a failed
// write never leaves a half-written file behind.
class DirFileStore : public FileStore {
public:
    // `root` need not exist yet; Write creates it.
    explicit DirFileStore(std::filesystem::path root, int writeAttempts = 3);

    bool Read(const std::string& name, std::string& out) override;
    bool Write(const std::string& name, const std::string& data) override;
    bool Remove(const std::string& name) override;
    bool Exists(const std::string& name) override;
    long long Size(const std::string& name) override;
    std::vector<std::string> List(const std::string& suffix) override;

    const std::filesystem::path& Root() const { return root_; }

    // Files larger than this are not read.
    static constexpr long long kMaxReadSize = 64LL * 1024 * 1024;

private:
    bool PathFor(const std::string& name, std::filesystem::path& out) const;
    bool WriteOnce(const std::filesystem::path& target, const std::string& data);

    std::filesystem::path root_;
    int writeAttempts_;
};

} // namespace zel
