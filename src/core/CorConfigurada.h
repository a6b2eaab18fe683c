#pragma once

#include <QString>

// The colour of the configuration key COR: a Delphi colour name (clSkyBlue, clRed, clBtnFace...)
// or a number in blue-green-red byte order, decimal or hexadecimal ("$F0CAA6", "0xF0CAA6").
// Names and numbers of system colours (clBtnFace, $FF00000F) stand for the platform's colours.
class CorConfigurada
{
public:
    enum class Tipo {
        Padrao,  // not a colour: the standard button face
        Rgb,     // a fixed colour, rgb()
        Sistema  // a system colour, indiceSistema()
    };

    static CorConfigurada interpreta(const QString &text);

    Tipo tipo() const { return m_tipo; }
    // 0xRRGGBB (red in the high byte, as QColor reads it).
    unsigned int rgb() const { return m_rgb; }
    // The system colour number (clBtnFace is 15, clWindow 5...).
    int indiceSistema() const { return m_indice; }

    static constexpr int btnFace = 15;

private:
    static CorConfigurada deValor(unsigned int tColor);

    Tipo m_tipo = Tipo::Padrao;
    unsigned int m_rgb = 0;
    int m_indice = -1;
};
