#include "FonteJanelas.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QScreen>
#include <QStringList>
#include <QtEndian>

#include <optional>

namespace {

const QString kTahoma = QStringLiteral("Tahoma");

// Where Debian's fonts-wine installs the faces.
const char *const kPastas[] = {"/usr/share/wine/fonts", "/usr/lib/wine/fonts"};

bool temTahoma()
{
    return QFontDatabase::families().contains(kTahoma, Qt::CaseInsensitive);
}

// Wine's Tahoma marks its typographic line as the one to use and carries bitmap strikes with
// the same short line: 11 pixels at 8 points, where Windows gives Tahoma 13 and the accents over
// capitals ("Ã", "Ô") rise above it and are cut off by every label. The copy loaded here drops
// both, so the line is the file's Windows line. Returns false when the data is not a font file
// of the expected shape.
bool usaLinhaWindows(QByteArray &dados)
{
    const auto tamanho = quint64(dados.size());
    auto *bytes = reinterpret_cast<uchar *>(dados.data());
    if (tamanho < 12)
        return false;
    const quint16 tabelas = qFromBigEndian<quint16>(bytes + 4);
    if (12 + 16 * quint64(tabelas) > tamanho)
        return false;
    for (quint16 i = 0; i < tabelas; ++i) {
        const uchar *registro = bytes + 12 + 16 * i;
        const QByteArray etiqueta(reinterpret_cast<const char *>(registro), 4);
        const quint64 inicio = qFromBigEndian<quint32>(registro + 8);
        if (etiqueta == "OS/2" && inicio + 64 <= tamanho) {
            const quint16 selecao = qFromBigEndian<quint16>(bytes + inicio + 62);
            qToBigEndian<quint16>(selecao & ~quint16(0x80), bytes + inicio + 62); // USE_TYPO_METRICS
        } else if (etiqueta == "EBLC" && inicio + 8 <= tamanho) {
            qToBigEndian<quint32>(0, bytes + inicio + 4); // no strikes
        }
    }
    return true;
}

void registraTahoma()
{
    static bool feito = false;
    if (feito)
        return;
    feito = true;
    if (temTahoma())
        return;
    // Only the regular face: the package's bold file draws regular-weight outlines (only its
    // small bitmaps are bold), so bold rows would come out regular; the engine's own thickening
    // of the regular face is bold at every size.
    for (const char *pasta : kPastas) {
        QFile arquivo(QDir(QString::fromLatin1(pasta)).filePath(QStringLiteral("tahoma.ttf")));
        if (!arquivo.open(QIODevice::ReadOnly))
            continue;
        QByteArray dados = arquivo.readAll();
        if (usaLinhaWindows(dados) && QFontDatabase::addApplicationFontFromData(dados) >= 0)
            return;
    }
}

qreal pontosPorPolegada()
{
    const QScreen *tela = QGuiApplication::primaryScreen();
    return tela ? tela->logicalDotsPerInch() : 96.0;
}

} // namespace

namespace FonteJanelas {

QFont fonte()
{
    registraTahoma();
    if (!temTahoma())
        return substituta();
    QFont f(kTahoma);
    f.setStyleHint(QFont::SansSerif);
    f.setPointSize(8);
    return f;
}

QFont instala()
{
    const QFont f = fonte();
    QApplication::setFont(f);
    return f;
}

QFont substituta()
{
    // DejaVu Sans shares Tahoma's design family (its condensed cut has Tahoma's width); the
    // others are what a desktop usually has. The largest size that sets the reference text no
    // wider than Tahoma does, preferring one whose line holds the accents over capitals.
    const QStringList familias = {QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans"),
                                  QStringLiteral("Liberation Sans"), QStringLiteral("Arial")};
    const QStringList instaladas = QFontDatabase::families();
    const qreal alvo = larguraReferencia() * pontosPorPolegada() / 96.0 * 1.04;
    std::optional<QFont> soLargura;
    for (const QString &familia : familias) {
        if (!instaladas.contains(familia, Qt::CaseInsensitive))
            continue;
        QFont f(familia);
        f.setStyleHint(QFont::SansSerif);
        for (qreal pontos = 8.5; pontos >= 6.5; pontos -= 0.25) {
            f.setPointSizeF(pontos);
            const QFontMetrics medida(f);
            if (medida.horizontalAdvance(textoReferencia()) > alvo)
                continue;
            if (-medida.tightBoundingRect(QStringLiteral("ÃÔÊÁÇ")).top() <= medida.ascent())
                return f;
            if (!soLargura)
                soLargura = f;
            break;
        }
    }
    if (soLargura)
        return *soLargura;
    QFont f;
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(7.5);
    return f;
}

QString textoReferencia()
{
    return QStringLiteral("Pedidos de Venda 0123456789 Razão Social Total : Flex");
}

int larguraReferencia()
{
    return 270;
}

} // namespace FonteJanelas
