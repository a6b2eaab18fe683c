#pragma once

#include <QString>

class FirebirdConnection;

// The goal attainment of a seller's latest goal month, as the goal window shows it: the
// percentages of the four dials, the goal and achieved amounts and the commission rate.
class MetasVendas
{
public:
    static const QString kSelectVelocimetro;

    struct Valores
    {
        QString MESMET;
        double VELMES = 0, VELDEZ = 0, VELEQP = 0, VELDIF = 0;
        double DISPL = 0, METVEN = 0, METDIF = 0, GERDIF = 0;
        double PORCOS = 0;
        QString DESDIF;

        // The differentiated dial's caption and the column heading of its amounts.
        QString legendaDiferenciado() const;
        QString tituloDiferenciado() const;
    };

    // The most recent month of the seller; every value 0 and no DESDIF without rows.
    static Valores carrega(FirebirdConnection &connection, const QString &codEmp, const QString &codVen);
};
