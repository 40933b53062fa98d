#pragma once
// Categories and 爱逛街 tabs are kept by id and shown by name. A picker's box
// holds names joined by "、"; these turn ids into that text and the text,
// as shown or as typed, back into ids, given the entries known (none when
// the lists have not been loaded).
#include <QString>
#include <QStringList>
#include <vector>

namespace app {

struct NamedId {
    QString id;
    QString name;
};

// The name when exactly one entry has it, "名称（ID）" when several entries
// share the name, the id itself when no entry names it.
QString shown_id(const QString& id, const std::vector<NamedId>& known);
QString shown_ids(const QStringList& ids, const std::vector<NamedId>& known);

// The ids a box's text names, in order. Entries are separated by "、", "，"
// or ","; an entry is a known name, "名称（ID）", or names and ids separated
// by spaces.
// What is none of these is kept as typed, so the board refuses it with its
// own message.
QStringList typed_ids(const QString& text, const std::vector<NamedId>& known);
// The one id a single-choice box names; its whole text when it names none.
QString typed_id(const QString& text, const std::vector<NamedId>& known);

// `known` with `more` added; an id already known takes its new name.
void remember(std::vector<NamedId>& known, const std::vector<NamedId>& more);

}  // namespace app
