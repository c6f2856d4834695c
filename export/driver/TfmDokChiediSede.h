#pragma once

#include "TfmQxDialogs.h"

#include <QList>

class QLabel;
class QTreeWidget;
class TQxInteraction;
struct TDokSede;

// The site chooser: one meccanographic code belongs to several sites (or to
// none) and the operator picks the main one. It can only be left by its buttons.
class TfmDokChiediSede : public TfmQxOkCancel
{
    Q_OBJECT
public:
    explicit TfmDokChiediSede(TQxInteraction &Interazione, QWidget *parent = nullptr);

    // Lists the sites of CodMecc, one row each.
    void Carica(const QString &CodMecc, const QList<TDokSede> &Sedi);

    QString CodMecc() const { return m_codMecc; }
    // After OK: the id of the chosen row; -1 when its id is not a number.
    int IdSede() const { return m_idSede; }

    QLabel *Label1;
    QTreeWidget *lvDettSediMultiple;

protected:
    bool CanAccept() override;

private:
    TQxInteraction &m_interazione;
    QString m_codMecc;
    int m_idSede = -1;
};
