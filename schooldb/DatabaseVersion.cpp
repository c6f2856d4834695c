#include "DatabaseVersion.h"


#include <QStringList>

#include <algorithm>

namespace schooldb {

int compareVersions(const QString &a, const QString &b)
{
    const QStringList pa = a.trimmed().split(QLatin1Char('.'));
    const QStringList pb = b.trimmed().split(QLatin1Char('.'));
    const qsizetype parts = std::max(pa.size(), pb.size());
    for (qsizetype i = 0; i < parts; ++i) {
        const qlonglong x = i < pa.size() ? pa.at(i).trimmed().toLongLong() : 0;
        const qlonglong y = i < pb.size() ? pb.at(i).trimmed().toLongLong() : 0;
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}

} // namespace schooldb
