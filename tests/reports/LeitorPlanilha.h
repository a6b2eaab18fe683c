#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

// A written workbook read back from its zip: the first sheet's cells with their resolved style,
// its merged ranges and column widths. Enough to check what a person opening it would see.
struct LeitorPlanilha
{
    struct Celula
    {
        QString valor;       // shared strings resolved
        bool numero = false;
        QString fonte;       // "Arial"
        double tamanho = 0;
        bool negrito = false;
        QString alinhamento; // "center", "left", "right" or empty
        QString fundo;       // "FF8080FF" or empty
        QString formato;     // number format code, empty for General
    };

    bool le(const QString &arquivo, QString *erro);

    QHash<QString, Celula> celulas; // by reference, "A1"
    QStringList unioes;             // "A1:C1"
    QHash<int, double> larguras;    // by column, 1-based
};
