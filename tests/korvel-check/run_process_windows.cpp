// The child processes of the korvel-check tests on Windows: CreateProcessW
// with standard handles of the test's choosing, and only those inherited.
#if defined(_WIN32)
#include <windows.h>

#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <string>
#include <utility>

#include "plain/temp_dir.h"
#include "run_process.h"

namespace test {

namespace {

std::wstring wide(const std::string& utf8) {
    if (utf8.empty())
        return {};
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

// One argument as the C runtime's command-line parser reads it back:
// quoted when it holds a space or a quote, backslashes doubled before a quote.
std::wstring quoted(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos)
        return arg;
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

std::wstring command_line(const std::string& program, const std::vector<std::string>& args) {
    std::wstring line = quoted(wide(program));
    for (const std::string& arg : args)
        line += L" " + quoted(wide(arg));
    return line;
}

// The Windows build keeps both the user's settings and the history in
// %APPDATA%: a settings directory named for the POSIX build (XDG_CONFIG_HOME)
// becomes it, so a child reads the settings the test wrote (Windows ignores
// the case of "korvel"); else a data directory (XDG_DATA_HOME), so a child
// keeps its history where the test looks for it.
Environment for_windows(Environment env) {
    const auto named = [&env](const char* name) -> const std::string* {
        for (const auto& [key, value] : env) {
            if (key == name)
                return &value;
        }
        return nullptr;
    };
    const std::string* app_data = named("XDG_CONFIG_HOME");
    if (app_data == nullptr)
        app_data = named("XDG_DATA_HOME");
    if (app_data != nullptr) {
        std::string value = *app_data;  // copied before the vector may grow
        env.emplace_back("APPDATA", std::move(value));
    }
    return env;
}

// This process's environment with `env` in place of the variables it names
// (names compared without regard to case, as Windows does), as a block.
std::wstring environment_block(const Environment& env) {
    std::map<std::wstring, std::wstring> variables;
    const auto upper = [](std::wstring s) {
        CharUpperBuffW(s.data(), static_cast<DWORD>(s.size()));
        return s;
    };
    std::map<std::wstring, std::wstring> spelled;
    wchar_t* strings = GetEnvironmentStringsW();
    for (const wchar_t* entry = strings; *entry != L'\0'; entry += wcslen(entry) + 1) {
        const std::wstring text = entry;
        const std::size_t equals = text.find(L'=', 1);  // "=C:=C:\..." names begin with '='
        if (equals == std::wstring::npos)
            continue;
        const std::wstring name = text.substr(0, equals);
        variables[upper(name)] = text.substr(equals + 1);
        spelled[upper(name)] = name;
    }
    FreeEnvironmentStringsW(strings);
    for (const auto& [name, value] : for_windows(env)) {
        variables[upper(wide(name))] = wide(value);
        spelled[upper(wide(name))] = wide(name);
    }
    std::wstring block;
    for (const auto& [key, value] : variables)
        block += spelled[key] + L"=" + value + L'\0';
    return block + L'\0';
}

class Handle {
  public:
    explicit Handle(HANDLE h = nullptr) : h_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
    ~Handle() {
        if (h_ != nullptr)
            CloseHandle(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    Handle(Handle&& other) noexcept : h_(other.release()) {}
    Handle& operator=(Handle&& other) noexcept {
        if (this != &other) {
            if (h_ != nullptr)
                CloseHandle(h_);
            h_ = other.release();
        }
        return *this;
    }
    HANDLE get() const { return h_; }
    HANDLE release() {
        HANDLE h = h_;
        h_ = nullptr;
        return h;
    }

  private:
    HANDLE h_;
};

SECURITY_ATTRIBUTES inheritable() {
    return {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
}

Handle open_for_child(const std::wstring& file, bool write) {
    SECURITY_ATTRIBUTES attributes = inheritable();
    return Handle(CreateFileW(
        file.c_str(), write ? GENERIC_WRITE : GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
        &attributes, write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Only one child at a time is being made, so no child inherits the pipe
// end meant for another.
std::mutex starting;

// Starts `program` with the three handles as its standard ones and no other
// handle inherited; the process handle, or null.
HANDLE start(const std::string& program, const std::vector<std::string>& args,
             const Environment& env, HANDLE in, HANDLE out, HANDLE err) {
    std::lock_guard lock(starting);
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    std::vector<char> storage(size);
    auto* attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage.data());
    if (!InitializeProcThreadAttributeList(attributes, 1, 0, &size))
        return nullptr;
    HANDLE inherited[3] = {in, out, err};
    const bool listed = UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST,
                                                  inherited, sizeof inherited, nullptr, nullptr);
    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdInput = in;
    startup.StartupInfo.hStdOutput = out;
    startup.StartupInfo.hStdError = err;
    startup.lpAttributeList = listed ? attributes : nullptr;
    std::wstring line = command_line(program, args);
    std::wstring block = environment_block(env);
    PROCESS_INFORMATION process{};
    const DWORD flags =
        CREATE_UNICODE_ENVIRONMENT | CREATE_NO_WINDOW | (listed ? EXTENDED_STARTUPINFO_PRESENT : 0);
    const BOOL made = CreateProcessW(wide(program).c_str(), line.data(), nullptr, nullptr, TRUE,
                                     flags, block.data(), nullptr, &startup.StartupInfo, &process);
    DeleteProcThreadAttributeList(attributes);
    if (!made)
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

std::string file_text(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Everything written into the pipe until its last writer closes it.
std::string drained(HANDLE pipe) {
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0)
        text.append(buffer, got);
    return text;
}

}  // namespace

StartedProcess::StartedProcess(const std::string& program, const std::vector<std::string>& args,
                               const Environment& env, const std::string& err_file) {
    const Handle in = open_for_child(L"NUL", false);
    const Handle out = open_for_child(L"NUL", true);
    const bool to_file = !err_file.empty() && err_file != "/dev/null";
    const Handle err = to_file ? open_for_child(std::filesystem::path(err_file).wstring(), true)
                               : open_for_child(L"NUL", true);
    process_ = start(program, args, env, in.get(), out.get(), err.get());
    pid_ = process_ != nullptr ? static_cast<int>(GetProcessId(process_)) : -1;
}

// Windows has no signals to send another process: the program is ended as
// by kill_now(), so a test of how a signal ends it does not apply there.
int StartedProcess::end_with(int /*signal*/, std::chrono::milliseconds /*limit*/) {
    kill_now();
    return -1;
}

StartedProcess::~StartedProcess() {
    kill_now();
}

void StartedProcess::kill_now() {
    if (process_ == nullptr)
        return;
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, INFINITE);
    CloseHandle(process_);
    process_ = nullptr;
    pid_ = -1;
}

ProcessResult run_process(const std::string& program, const std::vector<std::string>& args,
                          const Environment& env, StdoutTo stdout_to) {
    TempDir dir;
    const auto out_file = dir.file("out");
    const Handle in = open_for_child(L"NUL", false);
    const Handle err = open_for_child(dir.file("err").wstring(), true);
    Handle out;
    Handle pipe_end;  // ours, when stdout goes through a pipe
    if (stdout_to == StdoutTo::pipe) {
        SECURITY_ATTRIBUTES attributes = inheritable();
        HANDLE read = nullptr;
        HANDLE write = nullptr;
        if (!CreatePipe(&read, &write, &attributes, 0))
            return {};
        pipe_end = Handle(read);
        out = Handle(write);
        SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    } else {
        out = open_for_child(out_file.wstring(), true);
    }
    const Handle process(start(program, args, env, in.get(), out.get(), err.get()));
    out = Handle();  // the child's copy is the pipe's last writer
    ProcessResult result;
    if (stdout_to == StdoutTo::pipe)
        result.out = drained(pipe_end.get());
    DWORD code = 0;
    if (process.get() != nullptr && WaitForSingleObject(process.get(), INFINITE) == WAIT_OBJECT_0 &&
        GetExitCodeProcess(process.get(), &code))
        result.exit_code = static_cast<int>(code);
    if (stdout_to == StdoutTo::file)
        result.out = file_text(out_file);
    result.err = file_text(dir.file("err"));
    return result;
}

}  // namespace test
#endif
