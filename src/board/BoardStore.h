#pragma once

#include "board/BoardColumnModel.h"

#include <vector>

namespace ravnobor::store {
class Database;
}

// The board's reads and writes of the property table. Columns are reached by their
// position in a select of every column, the name by its column name.
namespace ravnobor::board {

// A whole load of the board, built aside so a failed load leaves the lists alone.
struct BoardContent {
    std::vector<BoardRow> left;   // allocation above 0: party 1
    std::vector<BoardRow> centre; // 0 or empty: undistributed
    std::vector<BoardRow> right;  // below 0: party 2
    int rowCount = 0;
    std::vector<BoardRow>& forTag(int tag) { return tag > 0 ? left : (tag < 0 ? right : centre); }
};

// A split item stands in both side lists; its share column is the variant's.

// Every row of the property table in table order, placed by the sign of the
// allocation at allocationPos, priced by the column at pricePos. A price that is no
// number, or lies beyond the price limit, fails the load with a message naming the item.
BoardContent loadBoard(store::Database& db, int pricePos, int allocationPos);

// One row of the property table by key, as loadBoard reads it, with the tag of the
// column that shows it; empty when the row is gone.
struct PlacedBoardRow {
    BoardRow row;
    int tag = 0; // 0 for a split item, which row.share marks
};
std::optional<PlacedBoardRow> loadBoardRow(store::Database& db, qint64 key, int pricePos, int allocationPos);

// The price as the board shows and sums it; an Error names the item when the stored
// value is unusable. An empty value gives no price.
std::optional<Money> storedPrice(const QVariant& stored, const QString& itemName);

} // namespace ravnobor::board
