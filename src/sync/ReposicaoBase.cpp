#include "ReposicaoBase.h"

#include "ArquivoZip.h"
#include "DatabaseError.h"
#include "FirebirdConnection.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <exception>

const QString ReposicaoBase::arquivoBase = QStringLiteral("ORVALIS.FDB");
const QString ReposicaoBase::arquivoAntigo = QStringLiteral("ORVALIS.OLD");

bool ReposicaoBase::recuperaSeInterrompida(const QString &pasta)
{
    const QDir dir(pasta);
    const QString base = dir.filePath(arquivoBase);
    const QString antigo = dir.filePath(arquivoAntigo);
    const bool recuperada = !QFile::exists(base) && QFile::exists(antigo) && QFile::rename(antigo, base);
    limpaRestos(pasta);
    return recuperada;
}

QStringList ReposicaoBase::limpaRestos(const QString &pasta)
{
    // A temporary is its file's name followed by a dot and a suffix of the library that wrote it.
    static const QRegularExpression temporario(
        QRegularExpression::anchoredPattern(QStringLiteral("(ORVALIS\\.KXD|ORVA\\d+_\\d+\\.(FDB|KXD))\\..+")));
    static const QRegularExpression baseExtraida(QRegularExpression::anchoredPattern(QStringLiteral("ORVA\\d+_\\d+\\.FDB")));

    const QDir dir(pasta);
    // Without a database in place an extracted one is all the notebook has.
    const bool haBase = QFile::exists(dir.filePath(arquivoBase));
    QStringList apagados;
    const QStringList nomes = dir.entryList({QStringLiteral("ORVA*")}, QDir::Files | QDir::Hidden);
    for (const QString &nome : nomes) {
        const bool resto = nome == QLatin1String("ORVALIS.KXD") || temporario.match(nome).hasMatch()
                           || (haBase && baseExtraida.match(nome).hasMatch());
        if (resto && QFile::remove(dir.filePath(nome)))
            apagados.append(nome);
    }
    return apagados;
}

ReposicaoBase::ReposicaoBase(FirebirdConnection &conexao, const QString &pasta, std::function<void()> carregaSessao)
    : m_conexao(conexao)
    , m_pasta(pasta)
    , m_carregaSessao(std::move(carregaSessao))
{
}

ResultadoSubstituicao ReposicaoBase::substitui(const QString &arquivoRecebido, const QString &nomePacote)
{
    m_detalhe.clear();
    const QDir dir(m_pasta);
    const QString base = dir.filePath(arquivoBase);
    const QString antigo = dir.filePath(arquivoAntigo);
    const QString novo = dir.filePath(nomePacote + QStringLiteral(".FDB"));

    QStringList entradas;
    ArquivoZip::Resultado lido = ArquivoZip::listaEntradas(arquivoRecebido, entradas);
    if (lido.ok() && entradas.isEmpty())
        lido = {ArquivoZip::Situacao::SemEntradas, QStringLiteral("arquivo sem entradas")};
    if (lido.ok())
        lido = ArquivoZip::extrai(arquivoRecebido, nomePacote + QStringLiteral(".FDB"), novo);
    if (!lido.ok()) {
        m_detalhe = lido.detalhe;
        return ResultadoSubstituicao::ErroExtraindo;
    }

    // Nothing may hold the file while it moves.
    m_conexao.close();

    // A file set aside by an earlier swap whose end could not delete it is stale once a
    // database is in place; without a database in place it is the database.
    const bool haviaBase = QFile::exists(base);
    if (haviaBase && QFile::exists(antigo) && !QFile::remove(antigo)) {
        m_detalhe = QStringLiteral("não foi possível apagar ") + antigo;
        QFile::remove(novo);
        reabre(base);
        return ResultadoSubstituicao::ErroAbrindo;
    }
    if (haviaBase && !QFile::rename(base, antigo)) {
        m_detalhe = QStringLiteral("não foi possível afastar ") + base;
        QFile::remove(novo);
        reabre(base);
        return ResultadoSubstituicao::ErroAbrindo;
    }
    const bool haviaAntigo = QFile::exists(antigo);
    if (aoAvancar)
        aoAvancar(Etapa::AntigoAfastado);

    try {
        if (!QFile::rename(novo, base))
            throw DatabaseError(QStringLiteral("não foi possível mover ") + novo + QStringLiteral(" para ") + base);
        if (aoAvancar)
            aoAvancar(Etapa::NovoNoLugar);
        m_conexao.setDatabaseName(base);
        m_conexao.open();
        m_carregaSessao();
    } catch (const std::exception &e) {
        const DatabaseError *erro = dynamic_cast<const DatabaseError *>(&e);
        m_detalhe = erro ? erro->message() : QString::fromUtf8(e.what());
        m_conexao.close();
        if (restauraAntigo(base, antigo, haviaAntigo))
            reabre(base);
        return ResultadoSubstituicao::ErroAbrindo;
    }

    QFile::remove(antigo);
    QFile::remove(arquivoRecebido);
    return ResultadoSubstituicao::Sucesso;
}

// The new file did not open or holds no usable user row: it goes, the old one comes back.
bool ReposicaoBase::restauraAntigo(const QString &base, const QString &antigo, bool haviaAntigo)
{
    if (!haviaAntigo) {
        QFile::remove(base);
        return false;
    }
    if (QFile::exists(base) && !QFile::remove(base))
        return false;
    return QFile::rename(antigo, base);
}

void ReposicaoBase::reabre(const QString &base)
{
    if (!QFile::exists(base))
        return;
    try {
        m_conexao.close();
        m_conexao.setDatabaseName(base);
        m_conexao.open();
        m_carregaSessao();
    } catch (const std::exception &) {
        // The old file is in place; the next start opens it as before.
    }
}
