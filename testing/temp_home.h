#pragma once

#include <QString>
#include <QTemporaryDir>

namespace tamix {

// For tests: points HOME and the XDG folders (config, data, cache, state,
// runtime) at a fresh temporary folder for the life of this object, so that
// nothing a test does reaches the real home folder. Create it before the
// QApplication and before anything reads those folders. Qt remembers some of
// these folders once read, so a test program uses the one forProcess().
class TempHome {
public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    // The one temporary home of this test process, made on first use.
    static TempHome& forProcess();

    QString path() const { return dir_.path(); }
    QString configDir() const;
    QString dataDir() const;
    QString runtimeDir() const;

private:
    QTemporaryDir dir_;
};

}  // namespace tamix
