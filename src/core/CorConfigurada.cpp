#include "CorConfigurada.h"

#include <QHash>

#include <optional>

namespace {

// Delphi's colour identifiers with their TColor values ($00BBGGRR; $FF0000nn for system colours).
const QHash<QString, unsigned int> &nomesDeCores()
{
    static const QHash<QString, unsigned int> nomes = {
        {QStringLiteral("CLBLACK"), 0x000000},
        {QStringLiteral("CLMAROON"), 0x000080},
        {QStringLiteral("CLGREEN"), 0x008000},
        {QStringLiteral("CLOLIVE"), 0x008080},
        {QStringLiteral("CLNAVY"), 0x800000},
        {QStringLiteral("CLPURPLE"), 0x800080},
        {QStringLiteral("CLTEAL"), 0x808000},
        {QStringLiteral("CLGRAY"), 0x808080},
        {QStringLiteral("CLSILVER"), 0xC0C0C0},
        {QStringLiteral("CLRED"), 0x0000FF},
        {QStringLiteral("CLLIME"), 0x00FF00},
        {QStringLiteral("CLYELLOW"), 0x00FFFF},
        {QStringLiteral("CLBLUE"), 0xFF0000},
        {QStringLiteral("CLFUCHSIA"), 0xFF00FF},
        {QStringLiteral("CLAQUA"), 0xFFFF00},
        {QStringLiteral("CLLTGRAY"), 0xC0C0C0},
        {QStringLiteral("CLDKGRAY"), 0x808080},
        {QStringLiteral("CLWHITE"), 0xFFFFFF},
        {QStringLiteral("CLMONEYGREEN"), 0xC0DCC0},
        {QStringLiteral("CLSKYBLUE"), 0xF0CAA6},
        {QStringLiteral("CLCREAM"), 0xF0FBFF},
        {QStringLiteral("CLMEDGRAY"), 0xA4A0A0},
        {QStringLiteral("CLNONE"), 0x1FFFFFFF},
        {QStringLiteral("CLDEFAULT"), 0x20000000},
        {QStringLiteral("CLSCROLLBAR"), 0xFF000000},
        {QStringLiteral("CLBACKGROUND"), 0xFF000001},
        {QStringLiteral("CLACTIVECAPTION"), 0xFF000002},
        {QStringLiteral("CLINACTIVECAPTION"), 0xFF000003},
        {QStringLiteral("CLMENU"), 0xFF000004},
        {QStringLiteral("CLWINDOW"), 0xFF000005},
        {QStringLiteral("CLWINDOWFRAME"), 0xFF000006},
        {QStringLiteral("CLMENUTEXT"), 0xFF000007},
        {QStringLiteral("CLWINDOWTEXT"), 0xFF000008},
        {QStringLiteral("CLCAPTIONTEXT"), 0xFF000009},
        {QStringLiteral("CLACTIVEBORDER"), 0xFF00000A},
        {QStringLiteral("CLINACTIVEBORDER"), 0xFF00000B},
        {QStringLiteral("CLAPPWORKSPACE"), 0xFF00000C},
        {QStringLiteral("CLHIGHLIGHT"), 0xFF00000D},
        {QStringLiteral("CLHIGHLIGHTTEXT"), 0xFF00000E},
        {QStringLiteral("CLBTNFACE"), 0xFF00000F},
        {QStringLiteral("CLBTNSHADOW"), 0xFF000010},
        {QStringLiteral("CLGRAYTEXT"), 0xFF000011},
        {QStringLiteral("CLBTNTEXT"), 0xFF000012},
        {QStringLiteral("CLINACTIVECAPTIONTEXT"), 0xFF000013},
        {QStringLiteral("CLBTNHIGHLIGHT"), 0xFF000014},
        {QStringLiteral("CL3DDKSHADOW"), 0xFF000015},
        {QStringLiteral("CL3DLIGHT"), 0xFF000016},
        {QStringLiteral("CLINFOTEXT"), 0xFF000017},
        {QStringLiteral("CLINFOBK"), 0xFF000018},
        {QStringLiteral("CLHOTLIGHT"), 0xFF00001A},
        {QStringLiteral("CLGRADIENTACTIVECAPTION"), 0xFF00001B},
        {QStringLiteral("CLGRADIENTINACTIVECAPTION"), 0xFF00001C},
        {QStringLiteral("CLMENUHIGHLIGHT"), 0xFF00001D},
        {QStringLiteral("CLMENUBAR"), 0xFF00001E},
    };
    return nomes;
}

// A 32-bit integer as Delphi's StrToInt reads it: decimal with an optional sign, or
// hexadecimal after "$", "0x" or "0X" (a hexadecimal value may use all 32 bits).
std::optional<unsigned int> inteiro32(const QString &text)
{
    bool ok = false;
    if (text.startsWith(u'$') || text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        const QString digitos = text.mid(text.startsWith(u'$') ? 1 : 2);
        if (digitos.isEmpty() || digitos.startsWith(u'-') || digitos.startsWith(u'+'))
            return std::nullopt;
        const qulonglong valor = digitos.toULongLong(&ok, 16);
        if (!ok || valor > 0xFFFFFFFFull)
            return std::nullopt;
        return static_cast<unsigned int>(valor);
    }
    const qlonglong valor = text.toLongLong(&ok, 10);
    if (!ok || valor < -2147483648LL || valor > 2147483647LL)
        return std::nullopt;
    return static_cast<unsigned int>(static_cast<int>(valor));
}

} // namespace

CorConfigurada CorConfigurada::interpreta(const QString &text)
{
    const QString limpo = text.trimmed();
    if (limpo.isEmpty())
        return {};
    const auto nome = nomesDeCores().constFind(limpo.toUpper());
    if (nome != nomesDeCores().constEnd())
        return deValor(*nome);
    if (const auto valor = inteiro32(limpo))
        return deValor(*valor);
    return {};
}

CorConfigurada CorConfigurada::deValor(unsigned int tColor)
{
    CorConfigurada cor;
    const unsigned int alto = tColor >> 24;
    if (alto == 0xFF) {
        const int indice = static_cast<int>(tColor & 0xFF);
        if (indice <= 30 && (tColor & 0x00FFFF00) == 0) {
            cor.m_tipo = Tipo::Sistema;
            cor.m_indice = indice;
        }
        return cor;
    }
    // High byte 0 is a plain colour; 1 and 2 ask for the nearest palette colour, which today
    // is the colour itself. clNone, clDefault and anything else are not colours.
    if (alto > 2)
        return cor;
    const unsigned int r = tColor & 0xFF;
    const unsigned int g = (tColor >> 8) & 0xFF;
    const unsigned int b = (tColor >> 16) & 0xFF;
    cor.m_tipo = Tipo::Rgb;
    cor.m_rgb = (r << 16) | (g << 8) | b;
    return cor;
}
