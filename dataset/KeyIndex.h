#pragma once

// Internal to the dataset library: a hash index from the values of some columns
// to the rows that hold them.

#include "Cell.h"

#include <unordered_map>
#include <vector>

namespace dataset {

class KeyIndex
{
public:
    explicit KeyIndex(std::vector<int> columns) : m_columns(std::move(columns)) {}

    const std::vector<int> &columns() const { return m_columns; }

    // Rows of one key stay in ascending order, so the first is the earliest record.
    void insert(const Key &key, int row);
    void remove(const Key &key, int row);
    // The rows holding key, or nullptr.
    const std::vector<int> *find(const Key &key) const;
    void clear() { m_rows.clear(); }

private:
    std::vector<int> m_columns;
    std::unordered_map<Key, std::vector<int>, KeyHash> m_rows;
};

} // namespace dataset
