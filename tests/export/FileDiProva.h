#pragma once

// What the export tests read back from disk.

#include <QByteArrayList>
#include <QFile>
#include <QString>

#include <algorithm>

// The bytes of a file; a marker naming it when it cannot be read, so that a
// comparison shows which file was missing.
inline QByteArray leggi(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing ") + path.toUtf8() + '>';
}

// The lines of a record file as a sorted list, each with its bytes, CR LF
// included: the flow queries fix no order of the records.
inline QByteArrayList righe(const QByteArray &testo)
{
    QByteArrayList r;
    for (qsizetype inizio = 0; inizio < testo.size();) {
        const qsizetype fine = testo.indexOf('\n', inizio);
        const qsizetype dopo = fine < 0 ? testo.size() : fine + 1;
        r.append(testo.mid(inizio, dopo - inizio));
        inizio = dopo;
    }
    std::sort(r.begin(), r.end());
    return r;
}
