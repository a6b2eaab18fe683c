#include "ComandoRelatorio.h"

#include "CatalogoRelatorios.h"
#include "D500DAT.h"
#include "DatabaseError.h"
#include "InstanciaUnica.h"
#include "Mensagem.h"
#include "Terminal.h"
#include "ReposicaoBase.h"
#include "SqlText.h"
#include "U500REL.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

#include <cstdio>
#include <exception>

namespace {

enum Saida { Escrito = 0, Falhou = 1, SemLinhas = 2 };

class Recusa : public std::exception
{
public:
    explicit Recusa(QString texto) : mensagem(std::move(texto)) {}
    QString mensagem;
};

QDate data(const QCommandLineParser &opcoes, const QString &nome)
{
    if (!opcoes.isSet(nome))
        throw Recusa(QStringLiteral("Informe --%1 DD/MM/AAAA.").arg(nome));
    const SqlText::ParsedDate d = SqlText::parseDate(opcoes.value(nome));
    if (!d)
        throw Recusa(QStringLiteral("--%1: %2").arg(nome, d.message));
    return *d.date;
}

// The month as the month list shows it, and the differentiated line the list pairs with it.
QString descricaoMes(D500DAT &dat, const QString &mes)
{
    QSqlQuery q = dat.cnxFirebird.query();
    q.prepare(QStringLiteral("SELECT FIRST 1 DESDIF FROM F500RSV WHERE MESMET = :MES"));
    q.bindValue(QStringLiteral(":MES"), mes);
    if (!q.exec())
        throw DatabaseError(q.lastError().text());
    if (!q.next())
        throw Recusa(QStringLiteral("Mês sem metas: %1").arg(mes));
    return q.value(0).toString().trimmed();
}

D500REL::Relatorio monta(D500DAT &dat, const QString &nome, const QCommandLineParser &opcoes)
{
    const Sessao &s = dat.sessao;
    const QString mes = opcoes.value(QStringLiteral("mes")).trimmed();
    if (nome == CatalogoRelatorios::resumoVendas)
        return CatalogoRelatorios::R511RSV(s, mes, mes.isEmpty() ? QString() : descricaoMes(dat, mes));
    if (nome == CatalogoRelatorios::pendencias)
        return CatalogoRelatorios::R511PEN(data(opcoes, QStringLiteral("de")), data(opcoes, QStringLiteral("ate")),
                                           opcoes.isSet(QStringLiteral("estoque")));
    if (nome == CatalogoRelatorios::impressaoPedido) {
        const QString pedido = opcoes.value(QStringLiteral("pedido")).trimmed();
        bool numero = false;
        pedido.toLongLong(&numero);
        if (!numero)
            throw Recusa(QStringLiteral("Informe --pedido com o número do pedido."));
        return CatalogoRelatorios::R530PDF(s, pedido);
    }
    if (!mes.isEmpty())
        descricaoMes(dat, mes); // refuses a month the list does not hold
    return CatalogoRelatorios::R516SIN(s, mes);
}

} // namespace

bool ComandoRelatorio::solicitado(int argc, char **argv)
{
    return argc >= 2 && QByteArray(argv[1]) == "relatorio";
}

int ComandoRelatorio::executa(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Korvex"));

    QCommandLineParser opcoes;
    opcoes.setApplicationDescription(QStringLiteral(
        "Escreve um relatório do Korvex sem janelas: R511RSV [--mes MM/AAAA], "
        "R511PEN --de DD/MM/AAAA --ate DD/MM/AAAA [--estoque], R530PDF --pedido N, R516SIN [--mes MM/AAAA]."));
    opcoes.addHelpOption();
    opcoes.addPositionalArgument(QStringLiteral("relatorio"), QStringLiteral("Escreve um relatório."));
    opcoes.addPositionalArgument(QStringLiteral("NOME"), QStringLiteral("R511RSV, R511PEN, R530PDF ou R516SIN."));
    opcoes.addOptions({
        {QStringLiteral("saida"), QStringLiteral("Arquivo a escrever: .htm, .html ou .xlsx."), QStringLiteral("ARQUIVO")},
        {QStringLiteral("mes"), QStringLiteral("Mês das metas, como a lista mostra (MM/AAAA)."), QStringLiteral("TEXTO")},
        {QStringLiteral("de"), QStringLiteral("Início do período."), QStringLiteral("DD/MM/AAAA")},
        {QStringLiteral("ate"), QStringLiteral("Fim do período."), QStringLiteral("DD/MM/AAAA")},
        {QStringLiteral("estoque"), QStringLiteral("Somente em estoque.")},
        {QStringLiteral("pedido"), QStringLiteral("Número do pedido."), QStringLiteral("N")},
    });
    if (!opcoes.parse(QCoreApplication::arguments())) {
        Terminal::escreve(stderr, opcoes.errorText());
        return Falhou;
    }
    if (opcoes.isSet(QStringLiteral("help"))) {
        Terminal::escreve(stdout, opcoes.helpText());
        return Escrito;
    }
    const QStringList posicionais = opcoes.positionalArguments();
    const QString saida = opcoes.value(QStringLiteral("saida"));
    const QString extensao = QFileInfo(saida).suffix().toLower();
    if (posicionais.size() != 2 || saida.isEmpty()
        || !(extensao == QLatin1String("htm") || extensao == QLatin1String("html") || extensao == QLatin1String("xlsx"))) {
        Terminal::escreve(stderr, opcoes.helpText());
        return Falhou;
    }
    const QString nome = posicionais.at(1).toUpper();

    const QString pasta = QDir::currentPath();
    Terminal::Apresentador apresentador;
    D500DAT dat;
    dat.setMessagePresenter(&apresentador);
    D500REL rel;
    rel.pastaPrograma = pasta;

    InstanciaUnica instancia(pasta);
    if (!instancia.trava()) {
        Terminal::escreve(stderr, InstanciaUnica::mensagemJaAberto());
        return Falhou;
    }
    ReposicaoBase::recuperaSeInterrompida(pasta);

    const QString arquivo = QFileInfo(saida).absoluteFilePath();
    try {
        dat.cnxFirebird.setDatabaseName(QDir(pasta).absoluteFilePath(ReposicaoBase::arquivoBase));
        dat.cnxFirebird.open();
        dat.carregaUsuario();
        if (dat.sessao.CODUSU.isEmpty())
            throw Recusa(QStringLiteral("Nenhum usuário configurado nesta pasta."));
        if (!CatalogoRelatorios::permitidos(dat.sessao).contains(nome))
            throw Recusa(QStringLiteral("Relatório %1 não disponível para o usuário %2.").arg(nome, dat.sessao.NOMUSU));
        D500REL::Relatorio relatorio = monta(dat, nome, opcoes);
        bool escrito = false;
        if (extensao == QLatin1String("xlsx")) {
            QFile::remove(arquivo);
            escrito = rel.gravaExcel(relatorio, arquivo);
        } else {
            relatorio.arquivo = arquivo;
            escrito = rel.toHTML(relatorio);
        }
        if (!escrito) {
            Terminal::escreve(stdout, QStringLiteral("Relatório sem linhas: nenhum arquivo escrito."));
            return SemLinhas;
        }
        Terminal::escreve(stdout, QDir::toNativeSeparators(arquivo));
        return Escrito;
    } catch (const Recusa &r) {
        Terminal::escreve(stderr, r.mensagem);
    } catch (const DatabaseError &e) {
        Terminal::escreve(stderr, e.message());
    }
    return Falhou;
}
