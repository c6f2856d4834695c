#pragma once

#include <QList>
#include <QMap>
#include <QString>

// Named page paths of a wizard: each path is an ordered list of page indexes written
// "0;1;2". Next and Back move along the active path.
class TQxWizardPaths
{
public:
    // Registers (or replaces) a path; throws on a text that is not a list of indexes.
    void AddPath(const QString &name, const QString &pages);
    // Activates a path and goes to its first page; throws on an unknown name.
    void Activate(const QString &name);

    QString ActivePath() const { return m_active; }
    QList<int> Pages() const { return m_paths.value(m_active); }
    int CurrentPage() const;            // -1 without an active path
    int Position() const { return m_position; }
    bool CanGoNext() const;
    bool CanGoBack() const;
    // The page Next or Back would show, or -1 at the end of the path.
    int NextPage() const;
    int PreviousPage() const;
    bool Next();                        // false at the last page
    bool Back();                        // false at the first page
    // Moves to a page of the active path; false when the path does not hold it.
    bool GoTo(int page);

private:
    QMap<QString, QList<int>> m_paths;
    QString m_active;
    int m_position = -1;
};
