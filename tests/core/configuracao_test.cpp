#include "ConfiguracaoSistema.h"
#include "CorConfigurada.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Guards the colour names of the panel: Delphi's names, in any letter case, with their colours.
TEST(CorConfigurada, NamesGiveTheirColours)
{
    const CorConfigurada skyBlue = CorConfigurada::interpreta(QStringLiteral("clSkyBlue"));
    ASSERT_EQ(skyBlue.tipo(), CorConfigurada::Tipo::Rgb);
    EXPECT_EQ(skyBlue.rgb(), 0xA6CAF0u);
    EXPECT_EQ(CorConfigurada::interpreta(QStringLiteral("CLRED")).rgb(), 0xFF0000u);
    EXPECT_EQ(CorConfigurada::interpreta(QStringLiteral(" clNavy ")).rgb(), 0x000080u);
    EXPECT_EQ(CorConfigurada::interpreta(QStringLiteral("clMoneyGreen")).rgb(), 0xC0DCC0u);

    const CorConfigurada face = CorConfigurada::interpreta(QStringLiteral("clBtnFace"));
    ASSERT_EQ(face.tipo(), CorConfigurada::Tipo::Sistema);
    EXPECT_EQ(face.indiceSistema(), CorConfigurada::btnFace);
}

// Guards the byte order of numbers: blue, green, red from high to low, decimal or hexadecimal.
TEST(CorConfigurada, NumbersAreBlueGreenRed)
{
    EXPECT_EQ(CorConfigurada::interpreta(QStringLiteral("255")).rgb(), 0xFF0000u);      // red
    EXPECT_EQ(CorConfigurada::interpreta(QStringLiteral("$FF0000")).rgb(), 0x0000FFu);  // blue
    EXPECT_EQ(CorConfigurada::interpreta(QStringLiteral("0x00FF00")).rgb(), 0x00FF00u); // lime
    EXPECT_EQ(CorConfigurada::interpreta(QStringLiteral("15780518")).rgb(), 0xA6CAF0u); // $F0CAA6
    // A system colour written as a number (negative in decimal) is the system colour.
    const CorConfigurada face = CorConfigurada::interpreta(QStringLiteral("-16777201"));
    ASSERT_EQ(face.tipo(), CorConfigurada::Tipo::Sistema);
    EXPECT_EQ(face.indiceSistema(), 15);
    EXPECT_EQ(CorConfigurada::interpreta(QStringLiteral("$FF00000F")).indiceSistema(), 15);
}

// Guards the fallback: anything that is not a colour gives the standard button face, silently.
TEST(CorConfigurada, NonColoursFallBackToDefault)
{
    for (const char *texto : {"", "   ", "azul", "clAzul", "12abc", "$", "0x", "$-1", "99999999999",
                              "$1FFFFFFF", "clNone", "clDefault", "$FF0000FF"}) {
        EXPECT_EQ(CorConfigurada::interpreta(QString::fromLatin1(texto)).tipo(), CorConfigurada::Tipo::Padrao)
            << texto;
    }
}

// Guards the reading of SisCon.ini: 1252 bytes, any case, blanks, quotes, first key wins.
TEST(ConfiguracaoSistema, ReadsConfigSectionFromWindows1252Bytes)
{
    QByteArray bytes("; comentario\r\n[Outra]\r\nEMPRESA=Errada\r\n[config]\r\n porta_kqx = 211 \r\n"
                     "Empresa=\"Distribuidora S\xE3o Jo\xE3o\"\r\nCOR=clSkyBlue\r\nCOR=clRed\r\n");
    const ConfiguracaoSistema config = ConfiguracaoSistema::interpreta(bytes);
    EXPECT_EQ(config.portaKqx(), QStringLiteral("211"));
    EXPECT_EQ(config.empresa(), QStringLiteral("Distribuidora São João"));
    EXPECT_EQ(config.cor(), QStringLiteral("clSkyBlue"));
    EXPECT_EQ(config.valor(QStringLiteral("OUTRA"), QStringLiteral("empresa")), QStringLiteral("Errada"));
}

// Guards absent keys and files: empty texts, never a failure.
TEST(ConfiguracaoSistema, MissingFileOrKeysReadEmpty)
{
    QTemporaryDir dir;
    const ConfiguracaoSistema semArquivo = ConfiguracaoSistema::carrega(dir.filePath(QStringLiteral("SisCon.ini")));
    EXPECT_TRUE(semArquivo.portaKqx().isEmpty());
    EXPECT_TRUE(semArquivo.empresa().isEmpty());

    QFile file(dir.filePath(QStringLiteral("SisCon.ini")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("EMPRESA=sem secao\n[CONFIG]\nPORTA_KQX=\nCOR\n");
    file.close();
    const ConfiguracaoSistema config = ConfiguracaoSistema::carrega(file.fileName());
    EXPECT_TRUE(config.empresa().isEmpty());
    EXPECT_TRUE(config.portaKqx().isEmpty());
    EXPECT_TRUE(config.cor().isEmpty());
}

// Guards a file saved as UTF-8 with its mark: accents must not turn into mojibake.
TEST(ConfiguracaoSistema, Utf8WithMarkIsReadAsUtf8)
{
    const QByteArray bytes = QByteArray("\xEF\xBB\xBF[CONFIG]\nEMPRESA=") + QStringLiteral("Ação").toUtf8();
    EXPECT_EQ(ConfiguracaoSistema::interpreta(bytes).empresa(), QStringLiteral("Ação"));
}
