#pragma once

#include <vector>

#include <QString>

// The data-shaping commands of the report environment ("SHAPE {SELECT ...} AS name
// APPEND ({SELECT ...} AS child RELATE 'a' TO 'b') AS child"), read into their levels.

namespace quorl::db {

struct ShapeLevel
{
    QString command;        // the SELECT inside the braces, as written
    QString alias;          // the level's name: the root's AS name; for a child its chapter name
    QString commandAlias;   // the AS name written right after the braces (or the inner SHAPE)
    // For a child: its rows are those whose childField equals the parent row's parentField.
    QString parentField;
    QString childField;
    std::vector<ShapeLevel> children;
};

bool isShapeCommand(const QString &text);
// Throws Error when the text is no SHAPE command this reader knows.
ShapeLevel parseShapeCommand(const QString &text);

} // namespace quorl::db
