#pragma once

#include <QDate>
#include <QString>

#include <memory>

class FirebirdConnection;
class TClientDataSetPlus;

// The bonus orders a supervisor decides: the search by seller, period and situation, one
// order's header and items, and the approval or refusal written to that order alone.
class BonificacoesSupervisor
{
public:
    static const QString kSelectPESVEN;
    static const QString kSelectPESBON;
    static const QString kSelectCADBON;
    static const QString kSelectITMBON;
    static const QString kUpdateAutorizacao;

    struct Filtro
    {
        QString codVen;          // seller chosen in "Representante:"; used when porVendedor
        bool porVendedor = false;
        bool porPeriodo = true;
        QString inicio, fim;     // typed dd/mm/yyyy; used when porPeriodo
        QString situacao = QStringLiteral("P"); // "%", "P", "A" or "N"
    };

    explicit BonificacoesSupervisor(FirebirdConnection &connection);
    ~BonificacoesSupervisor();

    TClientDataSetPlus &cdsPESVEN() const { return *m_pesven; }
    TClientDataSetPlus &cdsPESBON() const { return *m_pesbon; }
    TClientDataSetPlus &cdsCADBON() const { return *m_cadbon; }
    TClientDataSetPlus &cdsITMBON() const { return *m_itmbon; }

    void abreVendedores(const QString &codEmp);
    // Runs the search; returns the refusal of an impossible period date (nothing searched).
    QString pesquisa(const QString &codEmp, const Filtro &filtro, const QDate &hoje);
    // Opens the header and items of the current search row; returns the refusal of an empty list.
    QString abrePedido(const QString &codEmp);
    // "A" approves, "N" refuses the order opened last (its number, cost centre and company).
    void decide(const QString &autorizacao, const QString &codEmp);

    QString codPdvAberto() const { return m_codPdv; }
    QString codCcuAberto() const { return m_codCcu; }

private:
    FirebirdConnection &m_connection;
    std::unique_ptr<TClientDataSetPlus> m_pesven;
    std::unique_ptr<TClientDataSetPlus> m_pesbon;
    std::unique_ptr<TClientDataSetPlus> m_cadbon;
    std::unique_ptr<TClientDataSetPlus> m_itmbon;
    QString m_codPdv;
    QString m_codCcu;
};
