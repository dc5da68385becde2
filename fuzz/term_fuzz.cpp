// Random byte streams into the terminal models: the cursor, the scroll region
// and every buffer index must stay in bounds whatever arrives.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/term/ChatTermModel.h"
#include "core/term/TermModel.h"

namespace {

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    zel::TTermModel term;
    term.Resize(data[0] % 90, data[1] % 70);
    zel::TChatTermModel chat;
    chat.Resize(data[1] % 90, data[0] % 40);
    std::string_view rest(reinterpret_cast<const char*>(data) + 2, size - 2);
    // Blocks cut at 0xFF bytes, so lead bytes also straddle block ends.
    while (!rest.empty()) {
        const auto cut = rest.find('\xFF');
        const auto block = rest.substr(0, cut);
        term.Feed(block);
        if (block.size() % 7 == 3)
            term.WriteLocal(block.substr(0, 40));
        chat.AddText(block, (block.size() & 1) != 0);
        Check(term.CsrYPos() >= 1 && term.CsrYPos() <= term.Rows());
        Check(term.CsrXPos() >= 1 && term.CsrXPos() <= zel::kTermColumns + 1);
        Check(term.Top() >= 1 && term.Top() <= term.Bottom() && term.Bottom() <= term.Rows());
        Check(term.SBarMax() <= zel::TTermModel::kScrollBackLines - 1);
        Check(chat.CsrYPos() >= 1 && chat.CsrYPos() <= chat.Rows());
        for (int r = 1; r <= term.Rows(); ++r)
            Check(term.Buttons(r).size() <= zel::kMaxItemButtons);
        if (!block.empty())
            term.SetSBarPos(static_cast<unsigned char>(block[0]) % 160);
        (void)term.ViewRow(1);
        if (cut == std::string_view::npos)
            break;
        rest.remove_prefix(cut + 1);
    }
    return 0;
}
