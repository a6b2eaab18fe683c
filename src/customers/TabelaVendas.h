#pragma once

#include <QDate>
#include <QString>

#include <memory>

class FirebirdConnection;
class TClientDataSetPlus;

// The products of one price table under their family-group and family header rows, with the
// seller's surcharge on table 1, and the lists the filters choose from.
class TabelaVendas
{
public:
    struct Filtro
    {
        QString codEmp;
        QString codTab;
        double acrTab = 0;   // session surcharge, percent; applies to table 1 only
        QString codigo;      // start of the 7-digit product code
        QString descricao;   // part of the description
        QString codFam;      // chosen family, empty for none
        QString codGfa;      // chosen group, empty for none
        bool alteracoes = false; // only prices changed in the last 5 days
        QDate hoje;
    };

    static const QString kSelectTabelas;
    static const QString kSelectGFA;
    static const QString kSelectFamilias;
    static const QString kSelectPromocao;

    explicit TabelaVendas(FirebirdConnection &connection);
    ~TabelaVendas();
    TabelaVendas(const TabelaVendas &) = delete;
    TabelaVendas &operator=(const TabelaVendas &) = delete;

    TClientDataSetPlus &cdsTabelas() const { return *m_tabelas; }
    TClientDataSetPlus &cdsGFA() const { return *m_grupos; }
    TClientDataSetPlus &cdsFamilias() const { return *m_familias; }
    TClientDataSetPlus &cdsProdutos() const { return *m_produtos; }
    TClientDataSetPlus &cdsPromocao() const { return *m_promocao; }

    void abreListas();
    // Families of the group (code written "00000"), all of them for an empty code.
    void abreFamilias(const QString &codGfa);

    // The divisor that puts the surcharge into the price: 1 - M/100 with two decimals.
    static QString divisor(const QString &codTab, double acrTab);
    // The statement of the grid rows; every typed value is a quoted literal.
    static QString comandoProdutos(const Filtro &filtro);
    void pesquisa(const Filtro &filtro);

    // Promotions starting today or later (for a hundred years); false when there is none.
    bool abrePromocoes(const QString &codEmp, const QDate &hoje);

private:
    std::unique_ptr<TClientDataSetPlus> m_tabelas;
    std::unique_ptr<TClientDataSetPlus> m_grupos;
    std::unique_ptr<TClientDataSetPlus> m_familias;
    std::unique_ptr<TClientDataSetPlus> m_produtos;
    std::unique_ptr<TClientDataSetPlus> m_promocao;
};
