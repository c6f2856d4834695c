#pragma once

#include <QString>

// The name filter: normalises a text for name search. By default it only replaces
// accented letters with plain letters; the options add what the name key of the
// pupil registry needs (characters deleted, upper case, spaces dropped).
class TQxFilterString
{
public:
    QString DeleteChars;        // every character here is removed
    bool UpperCase = false;
    bool KeepAccents = false;
    bool KeepSpaces = true;

    QString Filter(const QString &text) const;
};

// The filter with its default settings.
QString filterString(const QString &text);
