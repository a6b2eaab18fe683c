#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

// The program's pictures: one family of SVG drawings (module buttons, "Sair", login, password,
// search buttons) kept as resources and drawn at the size each control asks for.
class Icones
{
public:
    // name: the drawing's file name without extension ("clientes", "sair", "login"...).
    static QIcon icone(const QString &name);
    static QPixmap imagem(const QString &name, const QSize &size, qreal devicePixelRatio = 1.0);
};
