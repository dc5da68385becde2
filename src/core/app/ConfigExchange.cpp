#include "core/app/ConfigExchange.h"

#include <cstdio>
#include <optional>

#include "core/app/ServerListText.h"
#include "core/ports/FileStore.h"
#include "core/ports/Transport.h"

namespace zel {
namespace {

constexpr const char* kTempFile = "ADVFile.Tmp";
constexpr const char* kHostSection = "ADV & Host Info";

// One right-aligned decimal field; blanks before the digits, an optional sign.
std::optional<long> FieldValue(const std::string& text, std::size_t index)
{
    std::size_t at = index * TConfigExchange::kFieldWidth;
    if (at + TConfigExchange::kFieldWidth > text.size())
        return std::nullopt;
    std::size_t i = at;
    std::size_t end = at + TConfigExchange::kFieldWidth;
    while (i < end && text[i] == ' ')
        ++i;
    bool negative = i < end && text[i] == '-';
    if (negative)
        ++i;
    if (i == end)
        return std::nullopt;
    long value = 0;
    for (; i < end; ++i) {
        char c = text[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

std::string Field(long value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%10ld", value);
    return buffer;
}

} // namespace

TConfigExchange::TConfigExchange(Transport& link, FileStore& banners, TZelStatus& status)
    : link_(link), banners_(banners), status_(status)
{
}

std::string TConfigExchange::FileName(int index)
{
    return "ADVInfo" + std::string(1, static_cast<char>(64 + index)) + ".gif";
}

void TConfigExchange::Start()
{
    phase_ = Phase::Header;
    header_.clear();
    data_.clear();
    count_ = 0;
    sizes_.fill(0);
    total_ = 0;
    downloaded_ = false;
}

void TConfigExchange::Abandon()
{
    if (Running())
        Finish(Result::Failed, false);
}

TConfigExchange::Result TConfigExchange::Feed(const std::uint8_t* data, std::size_t size)
{
    if (!Running())
        return Result::Pending;
    std::size_t i = 0;
    if (phase_ == Phase::Header) {
        for (; i < size; ++i) {
            if (data[i] == 0) {
                ++i;
                Result r = OnHeader();
                if (r != Result::Pending)
                    return r;
                break;
            }
            if (header_.size() >= kMaxHeader)
                return Finish(Result::Failed, false);
            header_.push_back(static_cast<char>(data[i]));
        }
    }
    if (phase_ != Phase::Files)
        return Result::Pending;
    std::size_t wanted = static_cast<std::size_t>(total_) - data_.size();
    std::size_t take = size - i < wanted ? size - i : wanted;
    data_.append(reinterpret_cast<const char*>(data + i), take);
    if (data_.size() == static_cast<std::size_t>(total_))
        return StoreFiles();
    return Result::Pending;
}

TConfigExchange::Result TConfigExchange::OnHeader()
{
    if (header_.size() % kFieldWidth != 0)
        return Finish(Result::Failed, false);
    std::optional<long> flag = FieldValue(header_, 0);
    if (!flag)
        return Finish(Result::Failed, false);
    if (*flag == 0)
        return Finish(Result::Finished, true);
    std::optional<long> count = FieldValue(header_, 1);
    if (!count || *count < 0 || *count > HostInfo::kMax ||
        header_.size() != kFieldWidth * (2 + static_cast<std::size_t>(*count)))
        return Finish(Result::Failed, false);
    count_ = static_cast<int>(*count);
    for (int i = 0; i < count_; ++i) {
        std::optional<long> s = FieldValue(header_, 2 + static_cast<std::size_t>(i));
        if (!s || *s < 0 || *s > kMaxFileSize)
            return Finish(Result::Failed, false);
        sizes_[static_cast<std::size_t>(i)] = *s;
        total_ += *s;
    }
    if (Unchanged())
        return Finish(Result::Finished, true);
    Answer(Field(500) + Field(0));
    phase_ = Phase::Files;
    if (total_ == 0)
        return StoreFiles();
    return Result::Pending;
}

bool TConfigExchange::Unchanged() const
{
    const HostInfo& host = status_.host;
    if (count_ != host.adFileCount)
        return false;
    for (int i = 0; i < count_; ++i) {
        long size = sizes_[static_cast<std::size_t>(i)];
        if (host.adSizes[static_cast<std::size_t>(i)] != size || banners_.Size(FileName(i + 1)) != size)
            return false;
    }
    return true;
}

TConfigExchange::Result TConfigExchange::StoreFiles()
{
    banners_.Write(kTempFile, data_);
    std::size_t at = 0;
    for (int i = 0; i < count_; ++i) {
        std::size_t size = static_cast<std::size_t>(sizes_[static_cast<std::size_t>(i)]);
        banners_.Write(FileName(i + 1), data_.substr(at, size));
        at += size;
    }
    banners_.Remove(kTempFile);

    HostInfo& host = status_.host;
    std::size_t listSize = count_ > 0 ? static_cast<std::size_t>(sizes_[0]) : 0;
    ServerListText::Parse(std::string_view(data_).substr(0, listSize), host);
    host.adFileCount = count_;
    host.adSizes.fill(0);
    for (int i = 0; i < count_; ++i)
        host.adSizes[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(sizes_[static_cast<std::size_t>(i)]);
    status_.Save(kHostSection);
    downloaded_ = true;
    data_.clear();
    data_.shrink_to_fit();
    return Finish(Result::Finished, true);
}

TConfigExchange::Result TConfigExchange::Finish(Result result, bool answerZero)
{
    if (answerZero)
        Answer(Field(0));
    phase_ = Phase::Done;
    link_.Close();
    return result;
}

void TConfigExchange::Answer(const std::string& field)
{
    std::string out = field;
    out.push_back('\0');
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(out.data());
    std::size_t sent = 0;
    for (int attempt = 0; attempt < 10 && sent < out.size() && link_.IsConnected(); ++attempt)
        sent += link_.Send(bytes + sent, out.size() - sent);
}

} // namespace zel
