#pragma once
#include <array>

namespace zel {

// Fixed-capacity stack of board points. Used for the board's capture list and
// as the game session's list of dead-stone clicks.
class TStack {
public:
    static constexpr int kCapacity = 500;

    struct Item {
        int X = 0;
        int Y = 0;
        int Spare = 0;
    };

    int Count() const { return count_; }
    void Clear() { count_ = 0; }
    // Returns false (and stores nothing) when the stack is already full.
    bool Push(int x, int y);
    // On an empty stack does nothing and leaves x, y unchanged.
    void Pop(int& x, int& y);
    // The top item's X or Y; -1 when empty.
    int PeekX() const { return count_ > 0 ? items_[count_ - 1].X : -1; }
    int PeekY() const { return count_ > 0 ? items_[count_ - 1].Y : -1; }
    // Item i, 0 = bottom; i must be below Count().
    const Item& At(int i) const { return items_[i]; }

private:
    int count_ = 0;
    std::array<Item, kCapacity> items_{};
};

} // namespace zel
