#include "CadastroCliente.h"

#include "ClientDataSetPlus.h"
#include "D500DAT.h"
#include "Formatos.h"
#include "SqlText.h"

namespace {
const QString kSTUCLI = QStringLiteral("STUCLI");

bool iguais(const QVariant &a, const QVariant &b)
{
    const bool nullA = !a.isValid() || a.isNull();
    const bool nullB = !b.isValid() || b.isNull();
    if (nullA || nullB)
        return nullA == nullB;
    return a == b;
}
} // namespace

// A customer without a tax number, name or city is still listed (a null never matches LIKE),
// and a city code is the company's own.
const QString CadastroCliente::kSelectClientes = QStringLiteral(
    "SELECT C.*, D.NOMCID, D.ESTCID "
    "FROM F510CLI C LEFT JOIN F501CID D ON C.CODCID = D.CODCID AND C.CODEMP = D.CODEMP "
    "WHERE C.CODEMP = :PCODEMP "
    "AND C.CODCLI LIKE :PCODCLI "
    "AND COALESCE(C.RAZCLI, '') LIKE :PRAZCLI "
    "AND COALESCE(C.SITCLI, '') LIKE :PSITCLI "
    "AND COALESCE(C.CPFCGC, '') LIKE :PCPFCGC "
    "ORDER BY C.CODNOV DESC, C.RAZCLI");

const QString CadastroCliente::kSelectTipoCliente = QStringLiteral("SELECT * FROM F510TIP ORDER BY DESTIP");

const QString CadastroCliente::kSelectEstados = QStringLiteral(
    "SELECT DISTINCT ESTCID "
    "FROM F501CID  "
    "WHERE CODEMP = :PCODEMP");

const QString CadastroCliente::kSelectCidades = QStringLiteral(
    "SELECT DISTINCT CODCID, TRIM(NOMCID)||'-'||ESTCID CIDADE, NOMCID, ESTCID   "
    "FROM F501CID  "
    "WHERE CODEMP = :PCODEMP "
    "AND ESTCID LIKE :PESTCID");

const QString CadastroCliente::kSelectDadosFinan = QStringLiteral(
    "SELECT CODCLI, IIF(ABTCLI IS NULL,0,ABTCLI) AS ABERTO, "
    "IIF(ATRCLI IS NULL, 0, ATRCLI) AS VENCIDO "
    "FROM F510CLI "
    "WHERE CODCLI = :PCODCLI "
    "AND CODNOV = :PCODNOV "
    "AND CODEMP = :PCODEMP");

CadastroCliente::CadastroCliente(FirebirdConnection &connection)
    : m_clientes(std::make_unique<TClientDataSetPlus>())
    , m_tipos(std::make_unique<TClientDataSetPlus>())
    , m_estados(std::make_unique<TClientDataSetPlus>())
    , m_cidades(std::make_unique<TClientDataSetPlus>())
    , m_financeiro(std::make_unique<TClientDataSetPlus>())
{
    const std::pair<TClientDataSetPlus *, const QString *> datasets[] = {
        {m_clientes.get(), &kSelectClientes}, {m_tipos.get(), &kSelectTipoCliente},
        {m_estados.get(), &kSelectEstados},   {m_cidades.get(), &kSelectCidades},
        {m_financeiro.get(), &kSelectDadosFinan}};
    for (const auto &[ds, sql] : datasets) {
        ds->setConnection(&connection);
        ds->setCommandText(*sql);
    }
    // A post only changes the rows in memory; the save writes the customer itself.
    m_clientes->AutoApplyUpdates = false;
    m_clientes->setTableName(QStringLiteral("F510CLI"));
}

CadastroCliente::~CadastroCliente() = default;

const QList<std::pair<QString, QString>> &CadastroCliente::camposDigitados()
{
    static const QList<std::pair<QString, QString>> campos = {
        {QStringLiteral("RAZCLI"), QStringLiteral("Razão Social")}, {QStringLiteral("FANCLI"), QStringLiteral("Fantasia")},
        {QStringLiteral("ENDEND"), QStringLiteral("Endereço")},     {QStringLiteral("NUMEND"), QStringLiteral("No.")},
        {QStringLiteral("BAIEND"), QStringLiteral("Bairro")},       {QStringLiteral("CEPEND"), QStringLiteral("C.E.P.")},
        {QStringLiteral("DDAEND"), QStringLiteral("DDD")},          {QStringLiteral("TEAEND"), QStringLiteral("Telefone")},
        {QStringLiteral("NUMIES"), QStringLiteral("I.E.")},         {QStringLiteral("CPFCGC"), QStringLiteral("CNPJ/CPF")},
        {QStringLiteral("FONEMB"), QStringLiteral("Tel.")},         {QStringLiteral("CNTEMB"), QStringLiteral("Contato")},
        {QStringLiteral("EMLEMB"), QStringLiteral("Email")}};
    return campos;
}

int CadastroCliente::tamanho(const QString &field) const
{
    return m_clientes->hasField(field) ? m_clientes->fieldDef(field).size : 0;
}

const QStringList &CadastroCliente::camposRastreados()
{
    static const QStringList campos = {
        QStringLiteral("CODTIP"), QStringLiteral("DESCHK"), QStringLiteral("FANCLI"), QStringLiteral("ENDEND"),
        QStringLiteral("NUMEND"), QStringLiteral("BAIEND"), QStringLiteral("CEPEND"), QStringLiteral("NOMCID"),
        QStringLiteral("ESTCID"), QStringLiteral("DDAEND"), QStringLiteral("TEAEND"), QStringLiteral("CNTEMB"),
        QStringLiteral("EMLEMB"), QStringLiteral("FONEMB"), QStringLiteral("CNTLIM"), QStringLiteral("EMLLIM"),
        QStringLiteral("FONLIM"), QStringLiteral("CODCID")};
    return campos;
}

QString CadastroCliente::pesquisa(const QString &codEmp, const Filtro &filtro)
{
    // The code is a number: letters are told here instead of failing in the engine.
    const QString digitado = filtro.codigo.trimmed();
    const Formatos::NumeroDigitado codigo = Formatos::leNumeroDigitado(digitado, 0, 15);
    if (!codigo)
        return QStringLiteral("Código : ") + codigo.mensagem;
    m_clientes->close();
    m_valoresAntes.clear();
    m_clientes->setParam(QStringLiteral("PCODEMP"), codEmp);
    m_clientes->setTypedParam(QStringLiteral("PCODCLI"),
                              SqlText::prefixPattern(digitado.isEmpty() ? QString() : codigo.valor));
    m_clientes->setTypedParam(QStringLiteral("PRAZCLI"), filtro.razaoSocial.isEmpty()
                                                         ? QStringLiteral("%")
                                                         : SqlText::containsPattern(filtro.razaoSocial));
    m_clientes->setTypedParam(QStringLiteral("PCPFCGC"), filtro.cpfCnpj.isEmpty()
                                                         ? QStringLiteral("%")
                                                         : SqlText::containsPattern(filtro.cpfCnpj));
    QString situacao = QStringLiteral("%");
    switch (filtro.situacao) {
    case Situacao::Todos: break;
    case Situacao::Ativos: situacao = QStringLiteral("A"); break;
    case Situacao::Inativos: situacao = QStringLiteral("I"); break;
    case Situacao::Bloqueados: situacao = QStringLiteral("B"); break;
    }
    m_clientes->setParam(QStringLiteral("PSITCLI"), situacao);
    m_clientes->open();
    // A refused text names the field by its caption.
    for (const auto &[campo, rotulo] : camposDigitados())
        if (m_clientes->hasField(campo))
            m_clientes->fieldDef(campo).displayLabel = rotulo;
    return {};
}

void CadastroCliente::abreTipos()
{
    m_tipos->close();
    m_tipos->open();
}

void CadastroCliente::abreEstados(const QString &codEmp)
{
    m_estados->close();
    m_estados->setParam(QStringLiteral("PCODEMP"), codEmp);
    m_estados->open();
}

void CadastroCliente::abreCidades(const QString &codEmp, const QString &estado)
{
    m_cidades->close();
    m_cidades->setParam(QStringLiteral("PCODEMP"), codEmp);
    m_cidades->setParam(QStringLiteral("PESTCID"), estado);
    m_cidades->open();
}

void CadastroCliente::abreDadosFinanceiros(const QString &codEmp, const QString &codCli, const QString &codNov)
{
    m_financeiro->close();
    m_financeiro->setParam(QStringLiteral("PCODCLI"), codCli);
    m_financeiro->setParam(QStringLiteral("PCODNOV"), codNov);
    m_financeiro->setParam(QStringLiteral("PCODEMP"), codEmp);
    m_financeiro->open();
}

void CadastroCliente::editaCliente()
{
    m_valoresAntes.clear();
    for (const QString &campo : camposRastreados())
        m_valoresAntes.insert(campo, m_clientes->value(campo));
    m_clientes->edit();
}

qint64 CadastroCliente::numeroNovoCliente(const QString &proximo)
{
    bool ok = false;
    const qint64 numero = proximo.trimmed().toLongLong(&ok);
    return ok && numero > kPrimeiroCodigoNovo ? numero : kPrimeiroCodigoNovo;
}

void CadastroCliente::novoCliente(D500DAT &dat, const QString &codEmp, const QString &codVen)
{
    const qint64 codNov = numeroNovoCliente(dat.proximoCodigo(
        QStringLiteral("F510CLI"), QStringLiteral("CODNOV"), QStringLiteral("CODEMP = ") + SqlText::quoted(codEmp)));
    m_valoresAntes.clear();
    m_clientes->append();
    m_clientes->setValue(QStringLiteral("CODNOV"), codNov);
    m_clientes->setValue(QStringLiteral("CODEMP"), codEmp);
    m_clientes->setValue(QStringLiteral("CODTAB"), QStringLiteral("1"));
    m_clientes->setValue(QStringLiteral("CODCLI"), 0);
    m_clientes->setValue(QStringLiteral("SITCLI"), QStringLiteral("A"));
    m_clientes->setValue(kSTUCLI, QStringLiteral("N"));
    m_clientes->setValue(QStringLiteral("LIMCRE"), 0);
    m_clientes->setValue(QStringLiteral("ABTCLI"), QStringLiteral("0"));
    m_clientes->setValue(QStringLiteral("ATRCLI"), QStringLiteral("0"));
    m_clientes->setValue(QStringLiteral("EMIAVS"), QStringLiteral("N"));
    m_clientes->setValue(QStringLiteral("OBSCLI"), QString());
    if (!codVen.isEmpty())
        m_clientes->setValue(QStringLiteral("CODVEN"), codVen);
}

bool CadastroCliente::registradoAqui() const
{
    return m_clientes->asString(kSTUCLI) == QLatin1String("N");
}

void CadastroCliente::atribui(const QString &field, const QString &text)
{
    if (m_clientes->isNull(field) ? text.isEmpty() : m_clientes->asString(field) == text)
        return;
    if (text.isEmpty())
        m_clientes->clearValue(field);
    else
        m_clientes->setValue(field, text);
}

std::optional<CadastroCliente::Recusa> CadastroCliente::valida(bool juridica) const
{
    if (!registradoAqui())
        return std::nullopt;
    auto vazio = [this](const char *field) {
        return m_clientes->isNull(QLatin1String(field))
            || m_clientes->asString(QLatin1String(field)).trimmed().isEmpty();
    };
    if (vazio("RAZCLI"))
        return Recusa{QStringLiteral("Razão Social é obrigatório. Verifique!"), Campo::RazaoSocial};
    if (vazio("CPFCGC"))
        return Recusa{QStringLiteral("CNPJ ou CPF é obrigatório. Verifique!"), Campo::CpfCnpj};
    if (vazio("NUMIES"))
        return Recusa{QStringLiteral("Inscrição Estadual ou RG é obrigatório. Verifique!"), Campo::Inscricao};
    if (vazio("TEAEND") || vazio("DDAEND"))
        return Recusa{QStringLiteral("Telefone é obrigatório. Verifique!"), Campo::Ddd};
    if (vazio("EMLEMB"))
        return Recusa{QStringLiteral("E-mail é obrigatório. Verifique!"), Campo::Email};
    if (vazio("CODCID"))
        return Recusa{QStringLiteral("Cidade e Estado é obrigatório. Verifique!"), Campo::Cidade};
    if (!D500DAT::validaCpfCnpj(juridica ? QStringLiteral("J") : QStringLiteral("F"),
                                m_clientes->asString(QStringLiteral("CPFCGC"))))
        return Recusa{QStringLiteral("CNPJ ou CPF INVÁLIDO. Verifique!"), Campo::CpfCnpj};
    return std::nullopt;
}

bool CadastroCliente::verificaAlteracao() const
{
    for (const QString &campo : camposRastreados())
        if (!iguais(m_valoresAntes.value(campo), m_clientes->value(campo)))
            return true;
    return false;
}

void CadastroCliente::salva()
{
    const TClientDataSetPlus::State estado = m_clientes->state();
    const bool editando = estado == TClientDataSetPlus::State::Edit || estado == TClientDataSetPlus::State::Insert;
    QList<std::pair<QString, QVariant>> digitado;
    if (editando)
        for (const FieldDef &def : m_clientes->fieldDefs())
            if (!def.calculated)
                digitado.append({def.name, m_clientes->value(def.name)});
    if (editando)
        m_clientes->post();
    try {
        if (!registradoAqui() && m_clientes->asString(kSTUCLI) != QLatin1String("A") && verificaAlteracao()) {
            m_clientes->edit();
            m_clientes->setValue(kSTUCLI, QStringLiteral("A"));
            m_clientes->post();
        }
        m_clientes->applyUpdates();
    } catch (...) {
        // Nothing of this customer stays logged: a later save of another customer would write it
        // again and fail the same way. What was typed goes back into the edit for a correction.
        m_clientes->revertRecord();
        if (editando) {
            if (estado == TClientDataSetPlus::State::Insert)
                m_clientes->append();
            else
                m_clientes->edit();
            for (const auto &[campo, valor] : std::as_const(digitado))
                m_clientes->setValue(campo, valor);
        }
        throw;
    }
    // What was written is the new "before" of a later edit of the same row.
    m_valoresAntes.clear();
    for (const QString &campo : camposRastreados())
        m_valoresAntes.insert(campo, m_clientes->value(campo));
}

void CadastroCliente::cancela()
{
    if (m_clientes->state() == TClientDataSetPlus::State::Edit
        || m_clientes->state() == TClientDataSetPlus::State::Insert)
        m_clientes->cancel();
}
