#pragma once
// The single-instance lock (one per user and program): a lock file held with flock
// for the life of this object, so it also goes away when the process dies.
#include <string>
#include <string_view>

class InstanceLock {
public:
    enum class State {
        Held,          // this object holds the lock
        HeldElsewhere, // another process (or another InstanceLock) holds it
        Failed,        // the lock file could not be created; see ErrorText
    };

    // Takes the lock of that name in the user's runtime directory.
    explicit InstanceLock(std::string_view name);
    // Takes the lock of that name in the given directory.
    InstanceLock(std::string_view name, const std::string& directory);
    ~InstanceLock();

    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    State GetState() const { return m_state; }
    bool IsHeld() const { return m_state == State::Held; }
    bool IsHeldElsewhere() const { return m_state == State::HeldElsewhere; }
    const std::string& Path() const { return m_path; }
    const std::string& ErrorText() const { return m_error; }

    // $XDG_RUNTIME_DIR, else /tmp/taliso-<uid> (created private to the user);
    // empty with the reason in 'error' when neither can be used safely.
    static std::string RuntimeDirectory(std::string& error);

private:
    void Acquire(std::string_view name, const std::string& directory);

    int m_fd = -1;
    State m_state = State::Failed;
    std::string m_path;
    std::string m_error;
};
