#pragma once
#include <optional>
#include <string>

namespace zel {

// Persistent text values by section and key. Values are CP949 bytes.
// The client stores them with QSettings; tests keep them in a map.
class SettingsBackend {
public:
    virtual ~SettingsBackend() = default;
    // The stored value, or nothing when the key does not exist.
    virtual std::optional<std::string> Read(const std::string& section, const std::string& key) = 0;
    virtual void Write(const std::string& section, const std::string& key, const std::string& value) = 0;
    // Makes written values durable (may be a no-op).
    virtual void Flush() {}
};

} // namespace zel
