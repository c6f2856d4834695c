#pragma once

#include "Table.h"

#include <QDialog>
#include <QSqlDatabase>

#include <array>

class QLabel;
class QPushButton;
class QTableWidget;
class QTabWidget;
class TDokFrequenze;

// The summary after an export: the attendance page of the start-of-year export
// or the outcome page of the year-end exports; the caller chooses the page, the
// tabs are hidden.
class TfmDokRiepilogo : public QDialog
{
    Q_OBJECT
public:
    explicit TfmDokRiepilogo(QWidget *parent = nullptr);

    // Fills the attendance page and shows it. An exported count is green when it
    // equals the attending, withdrawn and transferred pupils of its year, red
    // otherwise.
    void MostraFrequenze(const TDokFrequenze &Frequenze);
    // Counts with TDokFrequenze::Conta, then as above. Throws on a database error.
    void MostraFrequenze(const QSqlDatabase &Db, const QString &AnnoScolastico, const QString &CodMecc,
                         dataset::Table &cdsCurriculum);

    // The colours of an exported count.
    static QColor ColoreCoerente() { return QColor(0, 128, 0); }
    static QColor ColoreIncoerente() { return QColor(255, 0, 0); }

    QTabWidget *pcRiepilogo;
    QWidget *tsRiepFreq;
    QWidget *tsRiepScrutini;

    QLabel *laF1, *laF2, *laF3, *laF4, *laF5, *laF6;
    QLabel *laR1, *laR2, *laR3, *laR4, *laR5, *laR6;
    QLabel *laT1, *laT2, *laT3, *laT4, *laT5, *laT6;
    QLabel *laExp1, *laExp2, *laExp3, *laExp4, *laExp5, *laExp6;

    QTableWidget *sgTotali;
    QTableWidget *sgDettEsiti;

    QPushButton *buOk;

private:
    void CreaPaginaFrequenze();
    void CreaPaginaScrutini();

    // The labels of one column, by year of course 1..6.
    using Colonna = std::array<QLabel *TfmDokRiepilogo::*, 6>;
    static const Colonna kFrequentanti, kRitirati, kTrasferiti, kEsportati;
};
