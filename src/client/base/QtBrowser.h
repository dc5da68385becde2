#pragma once
#include <string>

#include "core/ports/Sound.h"

namespace zel {

// The user's browser, through the desktop's handler for the address.
class QtBrowser : public Browser {
public:
    void Open(const std::string& url) override;
};

// `url` when it is an http or https address, else empty: addresses that come
// from the configuration server open only as web pages.
std::string WebAddress(const std::string& url);

} // namespace zel
