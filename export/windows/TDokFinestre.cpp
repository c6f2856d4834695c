#include "TDokFinestre.h"

#include "TDokDomande.h"
#include "TDokFrequenze.h"
#include "TQxWidgetInteraction.h"
#include "TfmDatiNonImportati.h"
#include "TfmDokRiepilogo.h"

void TDokFinestre::Registra(TQxWidgetInteraction &Interazione)
{
    Interazione.SetHandler(QString::fromLatin1(TDokDomande::kDatiNonImportati),
                           [&Interazione](QWidget *owner, const QVariantMap &details) {
                               return TfmDatiNonImportati::Ask(Interazione, owner, details);
                           });
    Interazione.SetHandler(QString::fromLatin1(TDokDomande::kRiepilogoFrequenze),
                           [](QWidget *owner, const QVariantMap &details) {
                               TfmDokRiepilogo finestra(owner);
                               finestra.MostraFrequenze(TDokFrequenze::DaDettagli(details));
                               finestra.exec();
                               return QVariant();
                           });
}
