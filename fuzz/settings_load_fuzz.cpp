// Loads the settings store from arbitrary stored values, saves every section
// and loads it again. Input: lines "section<TAB>key<TAB>value".
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "core/settings/ZelStatus.h"

namespace {

class MapSettings : public zel::SettingsBackend {
public:
    std::optional<std::string> Read(const std::string& section, const std::string& key) override
    {
        auto it = values.find({section, key});
        if (it == values.end())
            return std::nullopt;
        return it->second;
    }
    void Write(const std::string& section, const std::string& key, const std::string& value) override
    {
        values[{section, key}] = value;
    }
    std::map<std::pair<std::string, std::string>, std::string> values;
};

void CheckBounds(const zel::TZelStatus& st)
{
    if (st.friends.count < 0 || st.friends.count > zel::FriendsInfo::kMax || st.host.hostCount < 0 ||
        st.host.hostCount > zel::HostInfo::kMax || st.host.adFileCount < 0 ||
        st.host.adFileCount > zel::HostInfo::kMax || st.environment.baseColor < 1 || st.environment.baseColor > 18)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    MapSettings store;
    std::string_view input(reinterpret_cast<const char*>(data), size);
    while (!input.empty()) {
        std::size_t end = input.find('\n');
        std::string_view line = input.substr(0, end);
        input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
        std::size_t a = line.find('\t');
        std::size_t b = a == std::string_view::npos ? a : line.find('\t', a + 1);
        if (b == std::string_view::npos)
            continue;
        store.values[{std::string(line.substr(0, a)), std::string(line.substr(a + 1, b - a - 1))}] =
            std::string(line.substr(b + 1));
    }

    zel::TZelStatus first(store, {}, [](const std::string&) {});
    CheckBounds(first);
    for (const char* name : {"Critical Info", "MainForm Info", "ADV & Host Info", "Print Option Info", "Color Info",
                             "Go MainForm Info", "Login Info", "Environment Info", "Friends Info"})
        first.Save(name);
    zel::TZelStatus second(store, {}, [](const std::string&) {});
    CheckBounds(second);
    if (second.friends.count != first.friends.count || second.host.hostCount != first.host.hostCount)
        std::abort();
    return 0;
}
