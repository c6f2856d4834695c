// The database operations of TDokUtil.
#include "TDokUtil.h"

#include "TDokDomande.h"
#include "TDokSql.h"
#include "TQxInteraction.h"

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
        TDokSql::Errore(Query, Db);
}

int TDokUtil::GetIdSede(const QSqlDatabase &Db, TQxInteraction &Interazione, const QString &CodMecc)
{
    const TDokSql::Valori codice{{QStringLiteral(":COD_MECC"), CodMecc}};
    QSqlQuery conta = TDokSql::Esegui(
        Db, QStringLiteral("SELECT Count(*) as nr FROM TSEDINF_SEDEINFO sinfo WHERE sinfo.SSEDINFCODMECC = :COD_MECC"),
        codice);
    const int nr = conta.next() ? conta.value(0).toInt() : 0;
    if (nr == 1) {
        QSqlQuery id = TDokSql::Esegui(
            Db, QStringLiteral("SELECT sinfo.ISEDID FROM TSEDINF_SEDEINFO sinfo WHERE sinfo.SSEDINFCODMECC = :COD_MECC"),
            codice);
        return id.next() ? id.value(0).toInt() : 0;
    }
    // None or several sites: only the operator knows which one is meant.
    const QVariant scelta =
        Interazione.Ask(QString::fromLatin1(TDokDomande::kSceltaSede), {{QStringLiteral("CodMecc"), CodMecc}});
    bool ok = false;
    const int idSede = scelta.toInt(&ok);
    return scelta.isValid() && ok ? idSede : -1;
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
