#pragma once

#include <QString>

#include <functional>

// What the values of an uploaded script need to reach the central Firebird database as the
// notebook meant them: the type of the column a value is written into, and a day-first
// 'dd/mm/yyyy' literal in the dotted 'dd.mm.yyyy' form Firebird reads day first (it reads
// slashes month first).
namespace TraducaoScript {

enum class TipoColuna { Desconhecido, Texto, Numero, Data, Hora, DataHora };

// Type of a column of the central database; Desconhecido when the table or column is not
// known there.
using TiposColuna = std::function<TipoColuna(const QString &tabela, const QString &coluna)>;

// 'dd/mm/yyyy' (optionally followed by a time) as 'dd.mm.yyyy'; empty when the text is not
// a valid day-first date.
QString dataFirebird(const QString &valor);

} // namespace TraducaoScript
