#include "DataSetStatement.h"

namespace {

enum class Span { Code, Literal, QuotedName, Comment };

// Calls 'visit' for each character of code, and once for each whole literal, quoted name
// and comment; 'depth' is the parenthesis depth there. 'visit' returns false to stop.
template<typename Visit>
void scanStatement(const QString &sql, Visit visit)
{
    const int n = static_cast<int>(sql.size());
    int depth = 0;
    int i = 0;
    while (i < n) {
        const QChar c = sql.at(i);
        if (c == u'\'' || c == u'"') {
            int j = i + 1;
            while (j < n) {
                if (sql.at(j) == c) {
                    if (j + 1 < n && sql.at(j + 1) == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            const int end = std::min(j + 1, n);
            if (!visit(i, end - i, depth, c == u'"' ? Span::QuotedName : Span::Literal))
                return;
            i = end;
            continue;
        }
        if (c == u'-' && i + 1 < n && sql.at(i + 1) == u'-') {
            int j = static_cast<int>(sql.indexOf(u'\n', i));
            j = j < 0 ? n : j;
            if (!visit(i, j - i, depth, Span::Comment))
                return;
            i = j;
            continue;
        }
        if (c == u'/' && i + 1 < n && sql.at(i + 1) == u'*') {
            int j = static_cast<int>(sql.indexOf(QLatin1String("*/"), i + 2));
            j = j < 0 ? n : j + 2;
            if (!visit(i, j - i, depth, Span::Comment))
                return;
            i = j;
            continue;
        }
        if (c == u'(')
            ++depth;
        if (!visit(i, 1, depth, Span::Code))
            return;
        if (c == u')')
            --depth;
        ++i;
    }
}

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$';
}

} // namespace

namespace DataSetStatement {

Parsed parseParameters(const QString &sql)
{
    Parsed parsed;
    parsed.positional.reserve(sql.size());
    int skipUntil = -1;
    scanStatement(sql, [&](int start, int length, int, Span what) {
        if (start < skipUntil)
            return true;
        const QChar c = sql.at(start);
        if (what == Span::Code && c == u':' && start + 1 < sql.size()
            && (sql.at(start + 1).isLetter() || sql.at(start + 1) == u'_')) {
            int j = start + 1;
            while (j < sql.size() && isNameChar(sql.at(j)))
                ++j;
            parsed.names << sql.mid(start + 1, j - start - 1).toUpper();
            parsed.places << parsed.positional.size();
            parsed.positional += u'?';
            skipUntil = j;
            return true;
        }
        parsed.positional += QStringView(sql).mid(start, length);
        return true;
    });
    return parsed;
}

QString tableOf(const QString &sql)
{
    // A FROM inside a sub-select of the column list names another table: prefer depth 0.
    int fromEnd = -1;
    for (int wantedDepth : {0, -1}) {
        scanStatement(sql, [&](int start, int, int depth, Span what) {
            if (what != Span::Code || (wantedDepth == 0 && depth != 0))
                return true;
            if (start + 4 > sql.size() || sql.mid(start, 4).compare(QLatin1String("FROM"), Qt::CaseInsensitive) != 0)
                return true;
            if (start > 0 && isNameChar(sql.at(start - 1)))
                return true;
            if (start + 4 < sql.size() && isNameChar(sql.at(start + 4)))
                return true;
            fromEnd = start + 4;
            return false;
        });
        if (fromEnd >= 0)
            break;
    }
    if (fromEnd < 0)
        return {};
    QString table;
    bool done = false;
    const QString rest = sql.mid(fromEnd);
    scanStatement(rest, [&](int start, int length, int, Span what) {
        if (what == Span::Comment)
            return true;
        if (what == Span::QuotedName) {
            table = rest.mid(start + 1, length - 2).replace(QLatin1String("\"\""), QLatin1String("\""));
            done = true;
            return false;
        }
        const QChar c = rest.at(start);
        if (c.isSpace())
            return true;
        int j = start;
        while (j < rest.size() && isNameChar(rest.at(j)))
            ++j;
        table = rest.mid(start, j - start).toUpper();
        done = true;
        return false;
    });
    return done ? table : QString();
}

} // namespace DataSetStatement
