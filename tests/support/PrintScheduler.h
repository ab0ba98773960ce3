#pragma once
// A print scheduler of a test's own: cupsd, unprivileged, in a temporary folder with its
// own configuration, listening on a socket there, with queues whose device writes each
// job to a file and whose filter writes down the options each job was given. While it
// lives, CUPS_SERVER names it, so the program's print dialogs and printers see its queues
// and nothing of the machine's. Running as root, the filters run as "lp", as the print
// system does it; otherwise as the user.
#include <cups/cups.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

struct PrintQueueSpec {
    std::string name;
    bool accepting = true;
    bool isDefault = false;
    std::string location;
};

class PrintScheduler {
public:
    static constexpr const char* kCupsd = "/usr/sbin/cupsd";
    static constexpr const char* kCupsExec = "/usr/lib/cups/daemon/cups-exec";

    explicit PrintScheduler(const std::vector<PrintQueueSpec>& queues)
    {
        namespace fs = std::filesystem;
        if (const char* old = std::getenv("CUPS_SERVER")) m_oldServer = old;
        char pattern[] = "/tmp/taliso-print-XXXXXX";
        if (::mkdtemp(pattern) == nullptr) {
            m_error = "no temporary folder";
            return;
        }
        m_root = pattern;
        // The filters (run as lp under root) must reach their folder.
        ::chmod(m_root.c_str(), 0755);
        if (!fs::exists(kCupsd) || !fs::exists(kCupsExec)) {
            m_error = std::string(kCupsd) + " or " + kCupsExec + " missing: scripts/install-deps.sh installs cups-daemon";
            return;
        }
        WriteFiles(queues);
        Start();
    }
    ~PrintScheduler()
    {
        Stop();
        if (m_oldServer) ::setenv("CUPS_SERVER", m_oldServer->c_str(), 1);
        else ::unsetenv("CUPS_SERVER");
        cupsSetServer(nullptr);
        std::error_code error;
        if (!m_root.empty()) std::filesystem::remove_all(m_root, error);
    }
    PrintScheduler(const PrintScheduler&) = delete;
    PrintScheduler& operator=(const PrintScheduler&) = delete;

    bool Running() const { return m_pid > 0 && m_error.empty(); }
    // Why it is not running, with the end of the scheduler's own log.
    std::string Error() const { return m_error + "\n" + LogTail(); }

    // The file the queue's device writes a job to (the last job's).
    std::string OutputPath(const std::string& queue) const { return (m_root / "out" / (queue + ".pdf")).string(); }

    // The options the queue's filter was given for its last job, as name and value (a
    // switch such as landscape has the value "true"); the copies as "copies". Empty
    // before the first job.
    std::map<std::string, std::string> JobOptions(const std::string& queue) const
    {
        std::ifstream in(m_root / "options" / queue);
        std::string copies, options;
        std::map<std::string, std::string> result;
        if (!std::getline(in, copies) || !std::getline(in, options)) return result;
        cups_option_t* parsed = nullptr;
        const int count = cupsParseOptions(options.c_str(), 0, &parsed);
        for (int i = 0; i < count; ++i) result[parsed[i].name] = parsed[i].value;
        cupsFreeOptions(count, parsed);
        result["copies"] = copies;
        return result;
    }

    struct Job {
        int id = 0;
        int state = 0; // IPP_JSTATE_...
        std::string title;
    };
    std::vector<Job> Jobs(const std::string& queue) const
    {
        cupsSetServer(nullptr);
        cups_job_t* jobs = nullptr;
        const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.c_str(), 0, CUPS_WHICHJOBS_ALL);
        std::vector<Job> result;
        for (int i = 0; i < count; ++i) result.push_back({jobs[i].id, int(jobs[i].state), jobs[i].title ? jobs[i].title : ""});
        cupsFreeJobs(count, jobs);
        return result;
    }
    // Waits (at most the limit) until every job of the queue has ended; the state of the
    // last one, or 0.
    int WaitForLastJob(const std::string& queue, std::chrono::milliseconds limit = std::chrono::seconds(20)) const
    {
        const auto end = std::chrono::steady_clock::now() + limit;
        for (;;) {
            const std::vector<Job> jobs = Jobs(queue);
            bool ended = !jobs.empty();
            const Job* last = nullptr;
            for (const Job& job : jobs) {
                ended = ended && job.state >= IPP_JSTATE_CANCELED;
                if (last == nullptr || job.id > last->id) last = &job;
            }
            if (ended) return last->state;
            if (std::chrono::steady_clock::now() > end) return 0;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }

    // The scheduler goes away (asked first, then killed); waits a bounded time.
    void Stop()
    {
        if (m_pid <= 0) return;
        ::kill(m_pid, SIGTERM);
        if (!Reaped(std::chrono::seconds(5))) {
            ::kill(m_pid, SIGKILL);
            Reaped(std::chrono::seconds(5));
        }
        m_pid = -1;
    }

private:
    static std::string UserName()
    {
        if (::geteuid() == 0) return "lp";
        const passwd* user = ::getpwuid(::geteuid());
        return user != nullptr ? user->pw_name : std::to_string(::geteuid());
    }
    static std::string GroupName()
    {
        if (::geteuid() == 0) return "lp";
        const group* g = ::getgrgid(::getegid());
        return g != nullptr ? g->gr_name : std::to_string(::getegid());
    }

    static void Write(const std::filesystem::path& path, const std::string& text, mode_t mode = 0644)
    {
        std::ofstream(path) << text;
        ::chmod(path.c_str(), mode);
    }

    // A PDF printer on A4, Letter and A5 with a 12 pt unprintable edge; its one filter
    // writes down the job's copies and options and hands the document on unchanged.
    static std::string Ppd()
    {
        std::string ppd = "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n"
                          "*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n*PCFileName: \"QUEUE.PPD\"\n"
                          "*Manufacturer: \"Test\"\n*Product: \"(Queue file)\"\n*ModelName: \"Queue file\"\n"
                          "*ShortNickName: \"Queue file\"\n*NickName: \"Queue file\"\n*PSVersion: \"(3010.000) 0\"\n"
                          "*LanguageLevel: \"3\"\n*ColorDevice: False\n*DefaultColorSpace: Gray\n*FileSystem: False\n"
                          "*Throughput: \"1\"\n*LandscapeOrientation: Plus90\n*TTRasterizer: Type42\n*cupsVersion: 2.4\n"
                          "*cupsFilter: \"application/pdf 0 passthrough\"\n";
        for (const char* option : {"PageSize", "PageRegion"}) {
            ppd += std::string("*OpenUI *") + option + ": PickOne\n*OrderDependency: 10 AnySetup *" + option + "\n*Default" +
                   option + ": A4\n*" + option + " A4/A4: \"<</PageSize[595 842]>>setpagedevice\"\n*" + option +
                   " Letter/US Letter: \"<</PageSize[612 792]>>setpagedevice\"\n*" + option +
                   " A5/A5: \"<</PageSize[420 595]>>setpagedevice\"\n*CloseUI: *" + option + "\n";
        }
        ppd += "*DefaultImageableArea: A4\n*ImageableArea A4/A4: \"12 12 583 830\"\n"
               "*ImageableArea Letter/US Letter: \"12 12 600 780\"\n*ImageableArea A5/A5: \"12 12 408 583\"\n"
               "*DefaultPaperDimension: A4\n*PaperDimension A4/A4: \"595 842\"\n"
               "*PaperDimension Letter/US Letter: \"612 792\"\n*PaperDimension A5/A5: \"420 595\"\n";
        return ppd;
    }

    void WriteFiles(const std::vector<PrintQueueSpec>& queues)
    {
        namespace fs = std::filesystem;
        for (const char* dir : {"spool/tmp", "log", "cache", "state", "bin/filter", "bin/daemon", "ppd", "out", "options"})
            fs::create_directories(m_root / dir);
        for (const char* dir : {"bin", "bin/filter", "bin/daemon", "ppd", "out"}) ::chmod((m_root / dir).c_str(), 0755);
        // The filter runs as another user.
        ::chmod((m_root / "options").c_str(), 0777);
        fs::create_symlink(kCupsExec, m_root / "bin/daemon/cups-exec");
        Write(m_root / "bin/filter/passthrough",
              "#!/bin/sh\nprintf '%s\\n%s\\n' \"$4\" \"$5\" > \"" + (m_root / "options").string() +
                  "/$PRINTER\"\nif [ -n \"$6\" ]; then exec cat \"$6\"; else exec cat; fi\n",
              0755);

        const std::string root = m_root.string();
        Write(m_root / "cups-files.conf",
              "FileDevice Yes\nPrintcap " + root + "/printcap\nUser " + UserName() + "\nGroup " + GroupName() +
                  "\nServerRoot " + root + "\nStateDir " + root + "/state\nCacheDir " + root +
                  "/cache\nDataDir /usr/share/cups\nServerBin " + root + "/bin\nRequestRoot " + root +
                  "/spool\nTempDir " + root + "/spool/tmp\nAccessLog " + root + "/log/access_log\nErrorLog " + root +
                  "/log/error_log\nPageLog " + root + "/log/page_log\n");
        Write(m_root / "cupsd.conf",
              "LogLevel info\nListen " + Socket() +
                  "\nBrowsing No\nWebInterface No\nDefaultAuthType None\nPreserveJobHistory Yes\n"
                  "<Location />\nOrder Allow,Deny\nAllow All\n</Location>\n"
                  "<Policy default>\n<Limit All>\nOrder Allow,Deny\nAllow All\n</Limit>\n</Policy>\n");
        std::ostringstream printers;
        for (const PrintQueueSpec& q : queues) {
            const char* tag = q.isDefault ? "DefaultPrinter" : "Printer";
            printers << "<" << tag << " " << q.name << ">\nInfo " << q.name << "\nLocation " << q.location
                     << "\nDeviceURI file://" << OutputPath(q.name) << "\nState Idle\nStateTime 1\nAccepting "
                     << (q.accepting ? "Yes" : "No")
                     << "\nShared No\nJobSheets none none\nQuotaPeriod 0\nPageLimit 0\nKLimit 0\nOpPolicy default\n"
                        "ErrorPolicy abort-job\n</"
                     << tag << ">\n";
            Write(m_root / "ppd" / (q.name + ".ppd"), Ppd());
        }
        Write(m_root / "printers.conf", printers.str(), 0600);
    }

    std::string Socket() const { return (m_root / "sock").string(); }

    void Start()
    {
        const std::string conf = (m_root / "cupsd.conf").string();
        const std::string files = (m_root / "cups-files.conf").string();
        const std::string out = (m_root / "log/cupsd.out").string();
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
        std::vector<std::string> args{kCupsd, "-f", "-c", conf, "-s", files};
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        pid_t pid = -1;
        const int spawned = posix_spawn(&pid, kCupsd, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0) {
            m_error = "cupsd could not be started";
            return;
        }
        m_pid = pid;
        if (!WaitUntilListening(std::chrono::seconds(15))) {
            m_error = "cupsd did not come up";
            Stop();
            return;
        }
        ::setenv("CUPS_SERVER", Socket().c_str(), 1);
        cupsSetServer(nullptr);
    }

    bool WaitUntilListening(std::chrono::milliseconds limit)
    {
        const auto end = std::chrono::steady_clock::now() + limit;
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::string path = Socket();
        if (path.size() >= sizeof address.sun_path) return false;
        path.copy(address.sun_path, path.size());
        while (std::chrono::steady_clock::now() < end) {
            int status = 0;
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = -1;
                return false;
            }
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            const bool up = fd >= 0 && ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
            if (fd >= 0) ::close(fd);
            if (up) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    bool Reaped(std::chrono::milliseconds limit)
    {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end) {
            int status = 0;
            const pid_t done = ::waitpid(m_pid, &status, WNOHANG);
            if (done == m_pid || done < 0) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    std::string LogTail() const
    {
        std::string text;
        for (const char* log : {"log/cupsd.out", "log/error_log"}) {
            std::ifstream in(m_root / log);
            std::stringstream all;
            all << in.rdbuf();
            const std::string s = all.str();
            text += std::string(log) + ":\n" + (s.size() > 2000 ? s.substr(s.size() - 2000) : s) + "\n";
        }
        return text;
    }

    std::filesystem::path m_root;
    std::optional<std::string> m_oldServer;
    pid_t m_pid = -1;
    std::string m_error;
};
