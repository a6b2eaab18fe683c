#include "LeitorPlanilha.h"

#include <QXmlStreamReader>

#include <zip.h>

namespace {

QByteArray entrada(zip_t *zip, const char *nome)
{
    zip_file_t *f = zip_fopen(zip, nome, 0);
    if (!f)
        return {};
    QByteArray dados;
    char bloco[65536];
    zip_int64_t n;
    while ((n = zip_fread(f, bloco, sizeof bloco)) > 0)
        dados.append(bloco, int(n));
    zip_fclose(f);
    return dados;
}

struct Fonte
{
    QString nome;
    double tamanho = 0;
    bool negrito = false;
};

struct Estilo
{
    int fonte = 0, fundo = 0, formato = 0;
    QString alinhamento;
};

} // namespace

bool LeitorPlanilha::le(const QString &arquivo, QString *erro)
{
    int codigo = 0;
    zip_t *zip = zip_open(arquivo.toLocal8Bit().constData(), ZIP_RDONLY, &codigo);
    if (!zip) {
        *erro = QStringLiteral("não abre como zip: %1").arg(codigo);
        return false;
    }
    const QByteArray folha = entrada(zip, "xl/worksheets/sheet1.xml");
    const QByteArray estilos = entrada(zip, "xl/styles.xml");
    const QByteArray textos = entrada(zip, "xl/sharedStrings.xml");
    zip_close(zip);
    if (folha.isEmpty() || estilos.isEmpty()) {
        *erro = QStringLiteral("sem folha ou estilos");
        return false;
    }

    QStringList compartilhados;
    for (QXmlStreamReader x(textos); !x.atEnd();)
        if (x.readNext() == QXmlStreamReader::StartElement && x.name() == QLatin1String("t"))
            compartilhados << x.readElementText();

    QVector<Fonte> fontes;
    QStringList fundos;
    QHash<int, QString> formatos;
    QVector<Estilo> xfs;
    QString secao;
    for (QXmlStreamReader x(estilos); !x.atEnd();) {
        if (x.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto a = x.attributes();
        const QStringView nome = x.name();
        if (nome == QLatin1String("fonts") || nome == QLatin1String("fills") || nome == QLatin1String("cellXfs")
            || nome == QLatin1String("cellStyleXfs"))
            secao = nome.toString();
        else if (nome == QLatin1String("numFmt"))
            formatos.insert(a.value(QLatin1String("numFmtId")).toInt(), a.value(QLatin1String("formatCode")).toString());
        else if (nome == QLatin1String("font") && secao == QLatin1String("fonts"))
            fontes.append(Fonte());
        else if (nome == QLatin1String("b") && secao == QLatin1String("fonts"))
            fontes.last().negrito = true;
        else if (nome == QLatin1String("sz") && secao == QLatin1String("fonts"))
            fontes.last().tamanho = a.value(QLatin1String("val")).toDouble();
        else if (nome == QLatin1String("name") && secao == QLatin1String("fonts"))
            fontes.last().nome = a.value(QLatin1String("val")).toString();
        else if (nome == QLatin1String("fill"))
            fundos.append(QString());
        else if (nome == QLatin1String("fgColor") && secao == QLatin1String("fills"))
            fundos.last() = a.value(QLatin1String("rgb")).toString();
        else if (nome == QLatin1String("xf") && secao == QLatin1String("cellXfs"))
            xfs.append({a.value(QLatin1String("fontId")).toInt(), a.value(QLatin1String("fillId")).toInt(),
                        a.value(QLatin1String("numFmtId")).toInt(), QString()});
        else if (nome == QLatin1String("alignment") && secao == QLatin1String("cellXfs"))
            xfs.last().alinhamento = a.value(QLatin1String("horizontal")).toString();
    }

    for (QXmlStreamReader x(folha); !x.atEnd();) {
        if (x.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto a = x.attributes();
        if (x.name() == QLatin1String("mergeCell")) {
            unioes << a.value(QLatin1String("ref")).toString();
        } else if (x.name() == QLatin1String("col")) {
            for (int c = a.value(QLatin1String("min")).toInt(); c <= a.value(QLatin1String("max")).toInt(); ++c)
                larguras.insert(c, a.value(QLatin1String("width")).toDouble());
        } else if (x.name() == QLatin1String("c")) {
            Celula c;
            const QString tipo = a.value(QLatin1String("t")).toString();
            const Estilo e = xfs.value(a.value(QLatin1String("s")).toInt());
            const Fonte f = fontes.value(e.fonte);
            c.fonte = f.nome;
            c.tamanho = f.tamanho;
            c.negrito = f.negrito;
            c.alinhamento = e.alinhamento;
            c.fundo = fundos.value(e.fundo);
            c.formato = formatos.value(e.formato);
            const QString ref = a.value(QLatin1String("r")).toString();
            while (!(x.readNext() == QXmlStreamReader::EndElement && x.name() == QLatin1String("c")) && !x.atEnd())
                if (x.tokenType() == QXmlStreamReader::StartElement && x.name() == QLatin1String("v"))
                    c.valor = x.readElementText();
            c.numero = !c.valor.isEmpty() && (tipo.isEmpty() || tipo == QLatin1String("n"));
            if (tipo == QLatin1String("s"))
                c.valor = compartilhados.value(c.valor.toInt());
            celulas.insert(ref, c);
        }
    }
    return true;
}
