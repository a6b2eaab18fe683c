#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <optional>
#include <utility>

class D500DAT;
class FirebirdConnection;
class TClientDataSetPlus;

// The customer registry without its window: the customer list and its lookups, the
// new-customer defaults, the checks of a customer registered here, the change tracking that
// marks a server customer for upload, and the save.
class CadastroCliente
{
public:
    enum class Situacao { Todos, Ativos, Inativos, Bloqueados };
    struct Filtro
    {
        QString codigo;
        QString razaoSocial;
        QString cpfCnpj;
        Situacao situacao = Situacao::Todos;
    };

    // Where the focus goes after a refused save.
    enum class Campo { RazaoSocial, CpfCnpj, Inscricao, Ddd, Email, Cidade };
    struct Recusa
    {
        QString mensagem;
        Campo campo;
    };

    static const QString kSelectClientes;
    static const QString kSelectTipoCliente;
    static const QString kSelectEstados;
    static const QString kSelectCidades;
    static const QString kSelectDadosFinan;
    static constexpr qint64 kPrimeiroCodigoNovo = 9900001;

    explicit CadastroCliente(FirebirdConnection &connection);
    ~CadastroCliente();
    CadastroCliente(const CadastroCliente &) = delete;
    CadastroCliente &operator=(const CadastroCliente &) = delete;

    TClientDataSetPlus &cdsClientes() const { return *m_clientes; }
    TClientDataSetPlus &cdsTipoCliente() const { return *m_tipos; }
    TClientDataSetPlus &cdsPESESTADO() const { return *m_estados; }
    TClientDataSetPlus &cdsPESCIDADE() const { return *m_cidades; }
    TClientDataSetPlus &cdsDadosFinan() const { return *m_financeiro; }

    // The fields whose change marks a server customer as changed ("A").
    static const QStringList &camposRastreados();
    // The text fields the registry form edits, with their captions.
    static const QList<std::pair<QString, QString>> &camposDigitados();
    // The characters the column holds (0 when unknown or the list was never opened).
    int tamanho(const QString &field) const;

    QString pesquisa(const QString &codEmp, const Filtro &filtro); // the refusal, empty when it searched
    void abreTipos();
    void abreEstados(const QString &codEmp);
    void abreCidades(const QString &codEmp, const QString &estado);
    // The open and overdue amounts of the customer: its own row of the company (a customer
    // registered here has CODCLI 0 like every other one registered here).
    void abreDadosFinanceiros(const QString &codEmp, const QString &codCli, const QString &codNov);

    // Puts the current customer in edit state, remembering the tracked values as loaded.
    void editaCliente();
    // Appends a new customer with its defaults; the number is the next CODNOV of the company,
    // never below 9900001.
    void novoCliente(D500DAT &dat, const QString &codEmp, const QString &codVen);
    static qint64 numeroNovoCliente(const QString &proximo);

    // True while the current row is a customer registered here (STUCLI "N").
    bool registradoAqui() const;
    // Writes a typed text into the row being edited, leaving the field untouched when the text
    // says what it already holds (so a null shown as an empty box stays null); an empty text
    // writes null.
    void atribui(const QString &field, const QString &text);
    // The checks of a customer registered here, in the order they are shown; none for a server
    // customer. juridica: the person type chosen ("J" or "F" for validaCpfCnpj).
    std::optional<Recusa> valida(bool juridica) const;
    // True when a tracked field differs from its value before the edit (null and a value differ).
    bool verificaAlteracao() const;
    // Posts the row, marks a changed server customer "A" and writes the customer to the
    // database. On a failure the change log is as it was before, the row is back in edition
    // with what was typed (cancela drops it) and the engine's error is thrown.
    void salva();
    // Drops the pending edit (a new, unsaved customer disappears).
    void cancela();

private:
    std::unique_ptr<TClientDataSetPlus> m_clientes;
    std::unique_ptr<TClientDataSetPlus> m_tipos;
    std::unique_ptr<TClientDataSetPlus> m_estados;
    std::unique_ptr<TClientDataSetPlus> m_cidades;
    std::unique_ptr<TClientDataSetPlus> m_financeiro;
    QHash<QString, QVariant> m_valoresAntes;
};
