#pragma once

#include <QDate>
#include <QString>

#include <memory>

class FirebirdConnection;
class TClientDataSetPlus;

// The receivable titles of the company filtered by customer, due-date period and overdue
// state, with the total of the listed amounts.
class TitulosReceber
{
public:
    struct Filtro
    {
        QString codigo;      // exact customer code; empty for all
        QString razaoSocial; // part of the name
        bool periodo = false;
        QString inicio;      // typed dd/mm/yyyy, read only when periodo
        QString fim;
        bool vencidos = false;
    };

    static const QString kSelectFinanceiro;

    explicit TitulosReceber(FirebirdConnection &connection);
    ~TitulosReceber();
    TitulosReceber(const TitulosReceber &) = delete;
    TitulosReceber &operator=(const TitulosReceber &) = delete;

    TClientDataSetPlus &cdsFinanceiro() const { return *m_titulos; }

    static bool vencido(double diasAtraso) { return diasAtraso > 0; }

    // Opens the titles; returns the message of a period date that is not a date (the list is
    // then left closed), or an empty text. Throws DatabaseError.
    QString pesquisa(const QString &codEmp, const Filtro &filtro, const QDate &hoje);
    // The sum of VLRTRC over the listed titles, "###,###,##0.00"; empty for an empty list.
    QString totalTitulos() const;

private:
    std::unique_ptr<TClientDataSetPlus> m_titulos;
};
