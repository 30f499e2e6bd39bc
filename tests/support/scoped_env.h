#pragma once

#include <QByteArray>
#include <QTemporaryDir>

namespace lorvane::test {

// Sets an environment variable for the life of the object and restores the old value.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const QByteArray& value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        qputenv(name_, value);
    }
    ~ScopedEnv() {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

// A settings store and a crash journal folder of its own: XDG_CONFIG_HOME and XDG_STATE_HOME
// point into a fresh temporary folder.
class TempSettings {
  public:
    TempSettings()
        : env_("XDG_CONFIG_HOME", dir_.path().toLocal8Bit()),
          state_("XDG_STATE_HOME", dir_.path().toLocal8Bit()) {}
    QString configHome() const { return dir_.path(); }
    QString iniPath() const {
        return dir_.path() + QStringLiteral("/Tessaly Software/Lorvane.ini");
    }

  private:
    QTemporaryDir dir_;
    ScopedEnv env_;
    ScopedEnv state_;
};

}  // namespace lorvane::test
