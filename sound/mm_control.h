#pragma once

#include <QString>
#include <QWidget>
#include <optional>

#include "sound_output.h"
#include "wav_reader.h"

namespace hashigoro {

// MMControl1, the main window's invisible multimedia control. It is driven only by assigning
// its two text properties, and every assignment returns at once and fails silently:
//   Command = "Stop"   silences the output
//   Command = "Close"  forgets the opened file
//   FileName = f       names the file for the next "Open" (relative to the current directory)
//   Command = "Open"   reads and checks f; a file that is missing or no playable WAV opens nothing
//   Command = "Sound"  plays the opened file once, without waiting for it
// Other commands are ignored.
class MMControl final : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Command READ Command WRITE SetCommand)
    Q_PROPERTY(QString FileName READ FileName WRITE SetFileName)

  public:
    MMControl(SoundOutput& output, QWidget* parent);

    QString Command() const { return command_; }
    void SetCommand(const QString& command);
    QString FileName() const { return fileName_; }
    void SetFileName(const QString& fileName) { fileName_ = fileName; }

    // A cue: Stop, Close, FileName = `fileName`, Open, Sound, in this order.
    void PlayCue(const QString& fileName);

    bool IsOpen() const { return opened_.has_value(); }

  private:
    SoundOutput& output_;
    QString command_;
    QString fileName_;
    std::optional<PcmSound> opened_;
};

}  // namespace hashigoro
