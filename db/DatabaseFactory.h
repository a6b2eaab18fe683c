#pragma once

#include <QString>

// Creates Firebird files from the database contract (db/schema.sql) for tests and tools.
// The program itself never creates tables: its file always comes from the server.
namespace DatabaseFactory {

// Creates a new dialect-3 WIN1252 database at path and runs the DDL script in it with isql-fb.
// Throws DatabaseError with isql's output on failure.
void create(const QString &path, const QString &schemaFile);

// Runs a script (UTF-8 text) against an existing file with isql-fb; throws on failure.
void runScript(const QString &path, const QString &scriptText);

// The schema file: $KORVEX_SCHEMA when set, else the one compiled in.
QString defaultSchemaFile();

} // namespace DatabaseFactory
