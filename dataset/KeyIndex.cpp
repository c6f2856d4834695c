#include "KeyIndex.h"

#include <algorithm>

namespace dataset {

void KeyIndex::insert(const Key &key, int row)
{
    std::vector<int> &rows = m_rows[key];
    // Appended rows come last, so this is the usual O(1) case.
    if (rows.empty() || rows.back() < row)
        rows.push_back(row);
    else
        rows.insert(std::lower_bound(rows.begin(), rows.end(), row), row);
}

void KeyIndex::remove(const Key &key, int row)
{
    auto it = m_rows.find(key);
    if (it == m_rows.end())
        return;
    std::vector<int> &rows = it->second;
    auto pos = std::lower_bound(rows.begin(), rows.end(), row);
    if (pos != rows.end() && *pos == row)
        rows.erase(pos);
    if (rows.empty())
        m_rows.erase(it);
}

const std::vector<int> *KeyIndex::find(const Key &key) const
{
    auto it = m_rows.find(key);
    return it == m_rows.end() ? nullptr : &it->second;
}

} // namespace dataset
