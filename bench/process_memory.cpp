#include "process_memory.h"

#include <QFile>
#include <QString>

namespace hashigoro::bench {

double ResidentMb(qint64 pid, bool peak) {
    QFile status(pid == 0 ? QString("/proc/self/status") : QString("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    const QByteArray key = peak ? "VmHWM:" : "VmRSS:";  // both in kB
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key)) {
            return line.mid(key.size()).trimmed().split(' ').front().toDouble() / 1024.0;
        }
    }
    return 0;
}

}  // namespace hashigoro::bench
