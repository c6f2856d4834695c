#include "TQxWizardPaths.h"

#include <QStringList>

#include <stdexcept>

void TQxWizardPaths::AddPath(const QString &name, const QString &pages)
{
    QList<int> list;
    for (const QString &part : pages.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int page = part.trimmed().toInt(&ok);
        if (!ok || page < 0)
            throw std::runtime_error(QStringLiteral("Percorso \"%1\" non valido: %2").arg(name, pages).toStdString());
        list.append(page);
    }
    if (list.isEmpty())
        throw std::runtime_error(QStringLiteral("Percorso \"%1\" senza pagine").arg(name).toStdString());
    m_paths.insert(name, list);
    if (name == m_active)
        m_position = 0;
}

void TQxWizardPaths::Activate(const QString &name)
{
    if (!m_paths.contains(name))
        throw std::runtime_error(QStringLiteral("Percorso \"%1\" inesistente").arg(name).toStdString());
    m_active = name;
    m_position = 0;
}

int TQxWizardPaths::CurrentPage() const
{
    const QList<int> pages = Pages();
    return m_position >= 0 && m_position < pages.size() ? pages.at(m_position) : -1;
}

bool TQxWizardPaths::CanGoNext() const
{
    return m_position >= 0 && m_position + 1 < Pages().size();
}

bool TQxWizardPaths::CanGoBack() const
{
    return m_position > 0;
}

int TQxWizardPaths::NextPage() const
{
    return CanGoNext() ? Pages().at(m_position + 1) : -1;
}

int TQxWizardPaths::PreviousPage() const
{
    return CanGoBack() ? Pages().at(m_position - 1) : -1;
}

bool TQxWizardPaths::Next()
{
    if (!CanGoNext())
        return false;
    ++m_position;
    return true;
}

bool TQxWizardPaths::Back()
{
    if (!CanGoBack())
        return false;
    --m_position;
    return true;
}

bool TQxWizardPaths::GoTo(int page)
{
    const int at = Pages().indexOf(page);
    if (at < 0)
        return false;
    m_position = at;
    return true;
}
