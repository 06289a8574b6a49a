#include "platform/plugin/PluginLibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QStringList>

QFunctionPointer resolvePluginFunction(const QString &builtPath, const char *symbol)
{
    const QStringList candidates = {
        QDir(QCoreApplication::applicationDirPath())
            .filePath(QStringLiteral("../lib/fenwarra/") + QFileInfo(builtPath).fileName()),
        builtPath,
    };
    for (const QString &file : candidates) {
        if (!QFileInfo::exists(file))
            continue;
        QLibrary library(file);
        if (!library.load())
            continue;
        if (QFunctionPointer function = library.resolve(symbol))
            return function;
    }
    return nullptr;
}
