#pragma once
#include <string>
#include <vector>

namespace zel {

// A directory of files (the record directory, the banner directory) addressed
// by bare names only. Implementations refuse any name that is not a bare name
// (separators, "..", drive letters, control characters) and never touch a
// file outside their directory.
class FileStore {
public:
    virtual ~FileStore() = default;
    virtual bool Read(const std::string& name, std::string& out) = 0;
    // Replaces the file; retries a bounded number of times, false on failure.
    virtual bool Write(const std::string& name, const std::string& data) = 0;
    virtual bool Remove(const std::string& name) = 0;
    virtual bool Exists(const std::string& name) = 0;
    // Size in bytes, or -1 when the file does not exist.
    virtual long long Size(const std::string& name) = 0;
    // Bare names of the files whose names end with `suffix` (case-insensitive).
    virtual std::vector<std::string> List(const std::string& suffix) = 0;
};

} // namespace zel
