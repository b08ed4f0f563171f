#pragma once

#include "store/Money.h"
#include "store/Share.h"

#include <QString>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

namespace ravnobor::board {

// One item of a board column: its own row of the property table, its name and its
// price for the chosen basis (none when the stored price is empty). The price's text
// is made when the list shows the row, so a reload formats a screenful, not the list.
struct BoardRow {
    qint64 key = 0;
    QString name;
    std::optional<Money> price;
    // Party 1's share of an item split between the parties: it then stands in both side
    // lists, each showing that party's share and part of the price.
    // Shared by every row with the same share text, so the rows stay small.
    std::shared_ptr<const Share> share = nullptr;
};

// The items of one board column in list order, kept in blocks of a few hundred:
// taking an item from anywhere or adding one at the end shifts one block and the
// block starts, never the whole list, so a move costs the same in a list of 100,000.
class BoardRows {
public:
    static constexpr int BlockSize = 512;

    int size() const { return m_size; }
    const BoardRow& operator[](int row) const;

    void assign(std::vector<BoardRow> rows);
    void push_back(BoardRow row);
    // The row before which an item with that key stands in table order, when the list is
    // in table order (before the first larger key), found through the blocks' key ranges.
    int keyOrderRow(qint64 key) const;
    void insert(int row, BoardRow item);
    BoardRow take(int row);
    void set(int row, BoardRow item);
    // The row of the item with that key, or -1; looks from the end, where moved items land.
    int find(qint64 key) const;
    std::vector<BoardRow> toVector() const;

private:
    struct Place {
        size_t block;
        size_t offset;
    };
    Place place(int row) const;
    // Joins a shrunken block with a neighbour when both fit in one, so that the
    // blocks stay at least half full on average.
    void mergeAround(size_t block);
    void eraseBlock(size_t block);
    void splitBlock(size_t block);

    std::vector<std::vector<BoardRow>> m_blocks;
    std::vector<int> m_starts; // the list row of each block's first item
    // The smallest and largest key each block has held: a list loaded in table order
    // finds an item, such as the other row of a split item, in one block, not by a walk.
    struct KeyRange {
        qint64 low;
        qint64 high;
        void add(qint64 key) {
            low = std::min(low, key);
            high = std::max(high, key);
        }
        bool holds(qint64 key) const { return key >= low && key <= high; }
    };
    std::vector<KeyRange> m_keys;
    static KeyRange rangeOf(const std::vector<BoardRow>& block);
    int m_size = 0;
};

} // namespace ravnobor::board
