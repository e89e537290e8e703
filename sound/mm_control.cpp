#include "mm_control.h"

#include <QFile>

namespace hashigoro {

MMControl::MMControl(SoundOutput& output, QWidget* parent) : QWidget(parent), output_(output) {
    setObjectName(QStringLiteral("MMControl1"));
    hide();
}

void MMControl::SetCommand(const QString& command) {
    command_ = command;
    if (command == QLatin1String("Stop")) {
        output_.Stop();
    } else if (command == QLatin1String("Close")) {
        opened_.reset();
    } else if (command == QLatin1String("Open")) {
        opened_ = LoadWavFile(QFile::encodeName(fileName_).toStdString());
    } else if (command == QLatin1String("Sound")) {
        if (opened_) {
            output_.Play(*opened_);
        }
    }
}

void MMControl::PlayCue(const QString& fileName) {
    SetCommand(QStringLiteral("Stop"));
    SetCommand(QStringLiteral("Close"));
    SetFileName(fileName);
    SetCommand(QStringLiteral("Open"));
    SetCommand(QStringLiteral("Sound"));
}

}  // namespace hashigoro
