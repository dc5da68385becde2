#pragma once
// A FileStore kept in memory, with failure injection.
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "core/ports/FileStore.h"
#include "core/record/SafeName.h"

namespace zel::test {

class MemoryFileStore : public FileStore {
public:
    bool Read(const std::string& name, std::string& out) override
    {
        ++reads;
        auto it = files.find(name);
        if (!IsBareName(name) || it == files.end() || failReads)
            return false;
        out = it->second;
        return true;
    }
    bool Write(const std::string& name, const std::string& data) override
    {
        ++writes;
        if (!IsBareName(name) || failWrites)
            return false;
        files[name] = data;
        return true;
    }
    bool Remove(const std::string& name) override { return IsBareName(name) && files.erase(name) > 0; }
    bool Exists(const std::string& name) override { return IsBareName(name) && files.count(name) > 0; }
    long long Size(const std::string& name) override
    {
        auto it = files.find(name);
        return it == files.end() ? -1 : static_cast<long long>(it->second.size());
    }
    std::vector<std::string> List(const std::string& suffix) override
    {
        std::vector<std::string> names;
        for (const auto& [name, data] : files)
            if (name.size() >= suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
                names.push_back(name);
        return names;
    }

    std::map<std::string, std::string> files;
    bool failReads = false;
    bool failWrites = false;
    int reads = 0;
    int writes = 0;
};

} // namespace zel::test
