#include "TDokDialoghi.h"

#include "TDokDomande.h"
#include "TDokSedi.h"
#include "TQxWidgetInteraction.h"
#include "TfmDokChiediSede.h"
#include "TfmDokLogIndirizzi.h"
#include "TfmDokTipoScuola.h"

#include <QComboBox>
#include <QLabel>
#include <QStringList>

void TDokDialoghi::Registra(TQxWidgetInteraction &Interazione, const QSqlDatabase &Db)
{
    TQxWidgetInteraction *interazione = &Interazione;

    Interazione.SetHandler(QString::fromLatin1(TDokDomande::kSceltaSede),
                           [interazione, Db](QWidget *owner, const QVariantMap &details) -> QVariant {
                               const QString codMecc = details.value(QStringLiteral("CodMecc")).toString();
                               TfmDokChiediSede dialog(*interazione, owner);
                               dialog.Carica(codMecc, TDokSedi::ElencoSedi(Db, codMecc));
                               if (dialog.exec() != QDialog::Accepted)
                                   return QVariant();
                               return dialog.IdSede();
                           });

    Interazione.SetHandler(QString::fromLatin1(TDokDomande::kTipoScuola),
                           [interazione, Db](QWidget *owner, const QVariantMap &details) -> QVariant {
                               TfmDokTipoScuola dialog(Db, *interazione, owner);
                               dialog.SetCodMecc(details.value(QStringLiteral("CodMecc")).toString());
                               dialog.laTipoScuola->setText(details.value(QStringLiteral("Messaggio")).toString());
                               dialog.SetTipo(details.value(QStringLiteral("Tipo")).toString());
                               const bool ok = dialog.exec() == QDialog::Accepted;
                               return QVariantMap{{QStringLiteral("Ok"), ok},
                                                  {QStringLiteral("Tipo"), dialog.cbTipoScuola->currentText()}};
                           });

    Interazione.SetHandler(QString::fromLatin1(TDokDomande::kLogIndirizzi),
                           [interazione](QWidget *owner, const QVariantMap &details) -> QVariant {
                               TfmDokLogIndirizzi dialog(*interazione, owner);
                               dialog.SetRighe(details.value(QStringLiteral("Righe")).toStringList());
                               dialog.exec();
                               return QVariant();
                           });
}
