#include "core/net/PacketAssembler.h"

#include <algorithm>

namespace zel {

void PacketAssembler::Reset()
{
    count_ = 0;
    expected_ = 0;
}

bool PacketAssembler::Feed(const std::uint8_t* data, std::size_t size, const Gate& mayDeliver, const Sink& deliver)
{
    for (std::size_t i = 0; i < size; ++i) {
        buffer_[count_++] = data[i];
        if (count_ == PacketHeader::kSize) {
            PacketHeader header = PacketHeader::Decode(buffer_.data());
            if (!validator_(header) || header.length < PacketHeader::kSize || header.length > kBufferSize) {
                Reset();
                return false;
            }
            expected_ = header.length;
        }
        if (expected_ != 0 && count_ == expected_) {
            // Hand on a copy: the sink may feed or reset this assembler.
            std::array<std::uint8_t, kBufferSize> packet;
            std::size_t length = count_;
            std::copy(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(length), packet.begin());
            Reset();
            if (!mayDeliver || mayDeliver())
                deliver(packet.data(), length);
        }
    }
    return true;
}

} // namespace zel
