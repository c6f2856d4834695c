// The database operations of TDokUtil.
#include "TDokUtil.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

#include <stdexcept>

void TDokUtil::PreparaQuery(QSqlQuery &Query, const QSqlDatabase &Db, const QString &Sql, const QString &Classi,
                            int Tipo)
{
    QString testo = Sql;
    if (Tipo == 2) {
        // The class list is pasted into the text: it must be integers only.
        static const QRegularExpression soloInteri(QStringLiteral("^\\s*\\d+(\\s*,\\s*\\d+)*\\s*$"));
        if (!soloInteri.match(Classi).hasMatch())
            throw std::runtime_error(
                QStringLiteral("Elenco delle classi non valido: \"%1\"").arg(Classi).toStdString());
        testo.replace(QStringLiteral("/*FLT_CLS*/"), QStringLiteral(" AND cls.ICLSID IN(%1) ").arg(Classi));
    }
    Query = QSqlQuery(Db);
    Query.setForwardOnly(true);
    if (!Query.prepare(testo))
        throw std::runtime_error(Query.lastError().text().toStdString());
}

QString TDokUtil::FormattaIdScuola(int IdSede)
{
    if (IdSede == -1)
        return QString();
    if (IdSede > 1000000)
        return QString::asprintf("%.4d", IdSede - 1000000);
    if (IdSede < 1000)
        return QString::asprintf("%.4d", IdSede + 1000);
    throw std::runtime_error("ID Scuola non valido");
}

QString TDokUtil::CodiceTipoScuola(const QString &Descrizione)
{
    const QString t = Descrizione.trimmed();
    if (t == QLatin1String("MATERNA"))
        return QStringLiteral("AA");
    if (t == QLatin1String("ELEMENTARE"))
        return QStringLiteral("EE");
    if (t == QLatin1String("MEDIA"))
        return QStringLiteral("MM");
    if (t == QLatin1String("SUPERIORE"))
        return QStringLiteral("SS");
    return QString();
}
