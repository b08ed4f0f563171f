#include "board/BoardRows.h"

#include <algorithm>
#include <iterator>

namespace ravnobor::board {

BoardRows::Place BoardRows::place(int row) const {
    const auto after = std::upper_bound(m_starts.begin(), m_starts.end(), row);
    const auto block = size_t(std::distance(m_starts.begin(), after) - 1);
    return {block, size_t(row - m_starts[block])};
}

const BoardRow& BoardRows::operator[](int row) const {
    const Place at = place(row);
    return m_blocks[at.block][at.offset];
}

BoardRows::KeyRange BoardRows::rangeOf(const std::vector<BoardRow>& block) {
    KeyRange range{block.front().key, block.front().key};
    for (const BoardRow& row : block)
        range.add(row.key);
    return range;
}

void BoardRows::set(int row, BoardRow item) {
    const Place at = place(row);
    m_keys[at.block].add(item.key);
    m_blocks[at.block][at.offset] = std::move(item);
}

int BoardRows::find(qint64 key) const {
    for (size_t block = m_blocks.size(); block-- > 0;) {
        if (!m_keys[block].holds(key))
            continue;
        for (size_t offset = m_blocks[block].size(); offset-- > 0;)
            if (m_blocks[block][offset].key == key)
                return m_starts[block] + int(offset);
    }
    return -1;
}

void BoardRows::assign(std::vector<BoardRow> rows) {
    m_blocks.clear();
    m_starts.clear();
    m_keys.clear();
    m_size = int(rows.size());
    for (size_t first = 0; first < rows.size(); first += BlockSize) {
        const size_t last = std::min(rows.size(), first + BlockSize);
        m_starts.push_back(int(first));
        m_blocks.emplace_back(std::make_move_iterator(rows.begin() + qsizetype(first)),
                              std::make_move_iterator(rows.begin() + qsizetype(last)));
        m_keys.push_back(rangeOf(m_blocks.back()));
    }
}

void BoardRows::push_back(BoardRow row) {
    if (m_blocks.empty() || m_blocks.back().size() >= size_t(BlockSize)) {
        m_blocks.emplace_back().reserve(BlockSize);
        m_starts.push_back(m_size);
        m_keys.push_back({row.key, row.key});
    }
    m_keys.back().add(row.key);
    m_blocks.back().push_back(std::move(row));
    ++m_size;
}

int BoardRows::keyOrderRow(qint64 key) const {
    size_t block = 0;
    while (block < m_blocks.size() && m_keys[block].high < key)
        ++block;
    if (block == m_blocks.size())
        return m_size;
    const std::vector<BoardRow>& rows = m_blocks[block];
    size_t offset = 0;
    while (offset < rows.size() && rows[offset].key < key)
        ++offset;
    return m_starts[block] + int(offset);
}

void BoardRows::insert(int row, BoardRow item) {
    if (row >= m_size) {
        push_back(std::move(item));
        return;
    }
    const Place at = place(row);
    std::vector<BoardRow>& rows = m_blocks[at.block];
    m_keys[at.block].add(item.key);
    rows.insert(rows.begin() + qsizetype(at.offset), std::move(item));
    ++m_size;
    for (size_t i = at.block + 1; i < m_starts.size(); ++i)
        ++m_starts[i];
    if (rows.size() > size_t(2 * BlockSize))
        splitBlock(at.block);
}

void BoardRows::splitBlock(size_t block) {
    std::vector<BoardRow>& rows = m_blocks[block];
    const auto half = qsizetype(rows.size() / 2);
    std::vector<BoardRow> tail(std::make_move_iterator(rows.begin() + half), std::make_move_iterator(rows.end()));
    rows.erase(rows.begin() + half, rows.end());
    const int start = m_starts[block] + int(half);
    m_keys[block] = rangeOf(rows);
    const KeyRange tailKeys = rangeOf(tail);
    m_blocks.insert(m_blocks.begin() + qsizetype(block) + 1, std::move(tail));
    m_starts.insert(m_starts.begin() + qsizetype(block) + 1, start);
    m_keys.insert(m_keys.begin() + qsizetype(block) + 1, tailKeys);
}

BoardRow BoardRows::take(int row) {
    const Place at = place(row);
    std::vector<BoardRow>& block = m_blocks[at.block];
    BoardRow taken = std::move(block[at.offset]);
    block.erase(block.begin() + qsizetype(at.offset));
    --m_size;
    for (size_t i = at.block + 1; i < m_starts.size(); ++i)
        --m_starts[i];
    if (block.empty())
        eraseBlock(at.block);
    else
        mergeAround(at.block);
    return taken;
}

void BoardRows::mergeAround(size_t block) {
    const auto fits = [this](size_t first) {
        return first + 1 < m_blocks.size() && m_blocks[first].size() + m_blocks[first + 1].size() <= size_t(BlockSize);
    };
    size_t first = block;
    if (!fits(first)) {
        if (block == 0 || !fits(block - 1))
            return;
        first = block - 1;
    }
    std::vector<BoardRow>& into = m_blocks[first];
    std::vector<BoardRow>& from = m_blocks[first + 1];
    into.insert(into.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
    m_keys[first].add(m_keys[first + 1].low);
    m_keys[first].add(m_keys[first + 1].high);
    eraseBlock(first + 1);
}

void BoardRows::eraseBlock(size_t block) {
    m_blocks.erase(m_blocks.begin() + qsizetype(block));
    m_starts.erase(m_starts.begin() + qsizetype(block));
    m_keys.erase(m_keys.begin() + qsizetype(block));
}

std::vector<BoardRow> BoardRows::toVector() const {
    std::vector<BoardRow> rows;
    rows.reserve(size_t(m_size));
    for (const std::vector<BoardRow>& block : m_blocks)
        rows.insert(rows.end(), block.begin(), block.end());
    return rows;
}

} // namespace ravnobor::board
