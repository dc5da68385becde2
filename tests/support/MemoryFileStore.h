#pragma once
// A FileStore kept in memory, for core tests.
#include <map>
#include <string>
#include <vector>

#include "core/ports/FileStore.h"

namespace zel::test {

class MemoryFileStore : public FileStore {
public:
    bool Read(const std::string& name, std::string& out) override
    {
        auto it = files.find(name);
        if (it == files.end())
            return false;
        out = it->second;
        return true;
    }
    bool Write(const std::string& name, const std::string& data) override
    {
        if (failWrites)
            return false;
        files[name] = data;
        ++writes;
        return true;
    }
    bool Remove(const std::string& name) override { return files.erase(name) > 0; }
    bool Exists(const std::string& name) override { return files.count(name) > 0; }
    long long Size(const std::string& name) override
    {
        auto it = files.find(name);
        return it == files.end() ? -1 : static_cast<long long>(it->second.size());
    }
    std::vector<std::string> List(const std::string& suffix) override
    {
        std::vector<std::string> out;
        for (const auto& [name, data] : files) {
            if (name.size() >= suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
                out.push_back(name);
        }
        return out;
    }

    std::map<std::string, std::string> files;
    bool failWrites = false;
    int writes = 0;
};

} // namespace zel::test
