#pragma once

#include <QDate>
#include <QString>

#include <memory>

class D500DAT;
class TClientDataSetPlus;

// The flex a supervisor moves: transfers from one seller to another and advances to one seller,
// written at once as typed here ("D") and deletable until they have been sent.
class MovimentacaoFlex
{
public:
    static const QString kSelectVendedor;
    static const QString kSelectMovFlex;
    static inline const QString kSemVendedor = QStringLiteral("SELECIONE UM VENDEDOR");

    enum class Tipo { Movimentacao, Adiantamento };

    struct Recusa
    {
        QString texto;
        bool focaValor = false;
        explicit operator bool() const { return !texto.isEmpty(); }
    };

    explicit MovimentacaoFlex(D500DAT &dat);
    ~MovimentacaoFlex();

    TClientDataSetPlus &cdsVendedor() const { return *m_vendedor; }
    TClientDataSetPlus &cdsMovFlex() const { return *m_movFlex; }

    // The flex page shown: sellers and this supervisor's movements, each at its first row.
    void abre();
    // A movement from the current seller-grid row; destino is ignored for an advance.
    Recusa inclui(Tipo tipo, const QString &destino, double valor, const QDate &hoje);
    // The refusal, or else the question, for deleting the current movement row.
    Recusa recusaExclusao() const;
    QString perguntaExclusao() const;
    void exclui();

private:
    void reabreMovimentos();

    D500DAT &m_dat;
    std::unique_ptr<TClientDataSetPlus> m_vendedor;
    std::unique_ptr<TClientDataSetPlus> m_movFlex;
};
