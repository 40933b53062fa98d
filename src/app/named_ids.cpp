#include "app/named_ids.h"

#include <QRegularExpression>
#include <algorithm>
#include <optional>

namespace app {

namespace {

const QString kJoiner = QStringLiteral("、");

std::vector<const NamedId*> named(const QString& name, const std::vector<NamedId>& known) {
    std::vector<const NamedId*> out;
    for (const NamedId& entry : known) {
        if (entry.name == name)
            out.push_back(&entry);
    }
    return out;
}

// "名称（ID）" and "名称(ID)" name the id whatever the name says.
std::optional<QString> bracketed_id(const QString& piece) {
    static const QRegularExpression pattern(QStringLiteral("^.*[（(]\\s*(\\d+)\\s*[）)]$"));
    const QRegularExpressionMatch match = pattern.match(piece);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1);
}

std::optional<QString> resolved(const QString& piece, const std::vector<NamedId>& known) {
    const auto entries = named(piece, known);
    if (entries.size() == 1)
        return entries.front()->id;
    return bracketed_id(piece);
}

}  // namespace

QString shown_id(const QString& id, const std::vector<NamedId>& known) {
    const auto it =
        std::find_if(known.begin(), known.end(), [&](const NamedId& e) { return e.id == id; });
    if (it == known.end() || it->name.trimmed().isEmpty())
        return id;
    // A name the box would split, or one that names another entry too, needs its id.
    static const QRegularExpression splits(QStringLiteral("[、，,]"));
    if (named(it->name, known).size() > 1 || it->name.contains(splits))
        return it->name + QStringLiteral("（") + id + QStringLiteral("）");
    return it->name;
}

QString shown_ids(const QStringList& ids, const std::vector<NamedId>& known) {
    QStringList shown;
    for (const QString& id : ids)
        shown << shown_id(id, known);
    return shown.join(kJoiner);
}

QStringList typed_ids(const QString& text, const std::vector<NamedId>& known) {
    static const QRegularExpression separators(QStringLiteral("[、，,]"));
    static const QRegularExpression spaces(QStringLiteral("\\s+"));
    QStringList ids;
    for (const QString& raw : text.split(separators, Qt::SkipEmptyParts)) {
        const QString piece = raw.trimmed();
        if (piece.isEmpty())
            continue;
        if (const auto id = resolved(piece, known)) {
            ids << *id;
            continue;
        }
        for (const QString& word : piece.split(spaces, Qt::SkipEmptyParts))
            ids << resolved(word, known).value_or(word);
    }
    return ids;
}

QString typed_id(const QString& text, const std::vector<NamedId>& known) {
    const QString piece = text.trimmed();
    return resolved(piece, known).value_or(piece);
}

void remember(std::vector<NamedId>& known, const std::vector<NamedId>& more) {
    for (const NamedId& entry : more) {
        const auto it = std::find_if(known.begin(), known.end(),
                                     [&](const NamedId& e) { return e.id == entry.id; });
        if (it == known.end())
            known.push_back(entry);
        else
            it->name = entry.name;
    }
}

}  // namespace app
