#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

// One complete RESP element: its type byte and, for the top level of an
// aggregate, up to three leading bulk strings (enough for push messages).
struct TRespElement {
    char type = 0;
    std::vector<std::string_view> items;
    std::string_view text; // a top-level bulk or simple string
};

// Parses one RESP2/RESP3 element at `data`. Returns the bytes it spans, 0 when
// incomplete, or npos when the bytes are not RESP.
std::size_t ParseResp(std::string_view data, TRespElement& out);
// A command as a RESP array of bulk strings.
std::string RespCommand(const std::vector<std::string_view>& args);

} // namespace zel
