#pragma once

#include "U500REL.h"

#include <QDate>
#include <QString>
#include <QStringList>

struct Sessao;

// The reports a user may run and the query and layout of each: the seller's sales summary,
// pending deliveries and order print, and the supervisor's team summary. Session values are
// written into the statements as quoted literals.
class CatalogoRelatorios
{
public:
    static const QString kSelectMeses;

    static const QString resumoVendas;     // "R511RSV"
    static const QString pendencias;       // "R511PEN"
    static const QString impressaoPedido;  // "R530PDF"
    static const QString sinteticoVendas;  // "R516SIN"

    // The reports of the user: the seller's three when the session has a seller code, the team
    // summary when the user is a supervisor.
    static QStringList permitidos(const Sessao &sessao);

    // mes: "MM/YYYY" or empty for every month; desdif: the chosen month's differentiated line.
    static D500REL::Relatorio R511RSV(const Sessao &sessao, const QString &mes, const QString &desdif);
    static D500REL::Relatorio R511PEN(const QDate &de, const QDate &ate, bool somenteEstoque);
    // pedido: the typed order number, digits only; empty selects nothing.
    static D500REL::Relatorio R530PDF(const Sessao &sessao, const QString &pedido);
    static D500REL::Relatorio R516SIN(const Sessao &sessao, const QString &mes);

    // The most recent of the goal months ("MM/YYYY"), which the month lists preselect.
    static QString mesMaisRecente(const QStringList &meses);
};
