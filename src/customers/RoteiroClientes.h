#pragma once

#include <QDate>
#include <QString>

#include <memory>

class FirebirdConnection;
class TClientDataSetPlus;

// The visit route of one date: weekday and week of the month (the database's SEMANA_MES),
// the customers due that day with those already holding an order first, blocked ones never.
class RoteiroClientes
{
public:
    static const QString kSelectRoteiro;
    static const QString kExecuteSemanaMes;

    explicit RoteiroClientes(FirebirdConnection &connection);
    ~RoteiroClientes();
    RoteiroClientes(const RoteiroClientes &) = delete;
    RoteiroClientes &operator=(const RoteiroClientes &) = delete;

    TClientDataSetPlus &cdsRoteiro() const { return *m_roteiro; }

    // "Segunda" ... "Domigo" for the ISO weekday 1 ... 7.
    static QString nomeDia(int diaSemana);
    // Week of the month of the date as the database numbers it. Throws DatabaseError.
    int semanaMes(const QDate &data);
    // Opens the route of the date for the company; returns the week of the month used.
    int pesquisa(const QString &codEmp, const QDate &data);

private:
    std::unique_ptr<TClientDataSetPlus> m_roteiro;
    std::unique_ptr<TClientDataSetPlus> m_semana;
};
