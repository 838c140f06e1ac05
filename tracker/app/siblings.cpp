#include "tracker/app/siblings.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace vsolo {

QString siblingProgram(const QString& folder, const QString& name) {
    const QFileInfo program(QDir(folder).filePath(name));
    return program.isFile() && program.isExecutable() ? program.absoluteFilePath() : QString();
}

bool startSiblingProgram(const QString& folder, const QString& name) {
    const QString program = siblingProgram(folder, name);
    return !program.isEmpty() && QProcess::startDetached(program, {}, folder);
}

} // namespace vsolo
