#include "diag/ErrLog.h"

#include "diag/DiagnosticLog.h"
#include "diag/ErrLogCollector.h"
#include "diag/ProgramFolder.h"

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <exception>
#include <utility>

namespace {

// Set once the one log exists; the fatal-error hooks may only touch it
// through this pointer, never construct it.
std::atomic<DiagnosticLog*> g_log{nullptr};

DiagnosticLog& processLog()
{
    // Never destroyed: a fatal error during static destruction still finds it.
    static DiagnosticLog* const log = [] {
        auto* created = new DiagnosticLog(DiagnosticLog::Setup{logFolder(), {}, {}, {}});
        g_log = created;
        return created;
    }();
    return *log;
}

constexpr int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
struct sigaction g_previousAction[NSIG];
std::terminate_handler g_previousTerminate = nullptr;

// A stack overflow leaves no room for the handler on the thread's own stack.
alignas(16) char g_signalStack[64 * 1024];

void onFatalSignal(int signal, siginfo_t* info, void*)
{
    const bool fromKernel = info != nullptr && info->si_code > 0;
    const bool hasAddress = fromKernel && signal != SIGABRT;
    const auto address = hasAddress ? static_cast<uint32_t>(reinterpret_cast<uintptr_t>(info->si_addr)) : 0u;
    if (DiagnosticLog* log = g_log.load())
        log->fatalShutdown(128 + signal, address);

    struct sigaction previous = g_previousAction[signal];
    if (!(previous.sa_flags & SA_SIGINFO) && previous.sa_handler == SIG_IGN)
        previous.sa_handler = SIG_DFL;
    ::sigaction(signal, &previous, nullptr);
    // A fault from the kernel repeats when the instruction runs again and
    // then meets the earlier disposition; a sent signal has to be sent again.
    if (!fromKernel)
        ::raise(signal);
}

[[noreturn]] void onTerminate()
{
    if (DiagnosticLog* log = g_log.load())
        log->fatalShutdown(128 + SIGABRT, 0);
    // The standard library's handler names the exception on standard error.
    if (g_previousTerminate != nullptr)
        g_previousTerminate();
    std::abort();
}

void installFatalErrorHooks()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;

    stack_t current{};
    if (::sigaltstack(nullptr, &current) == 0 && (current.ss_flags & SS_DISABLE)) {
        stack_t own{};
        own.ss_sp = g_signalStack;
        own.ss_size = sizeof g_signalStack;
        ::sigaltstack(&own, nullptr);
    }
    struct sigaction action {};
    action.sa_sigaction = onFatalSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (const int signal : kFatalSignals)
        ::sigaction(signal, &action, &g_previousAction[signal]);
    g_previousTerminate = std::set_terminate(onTerminate);
}

} // namespace

namespace {
DiagnosticLog* g_testLog = nullptr;

DiagnosticLog& activeLog()
{
    return g_testLog != nullptr ? *g_testLog : processLog();
}
} // namespace

DiagnosticLog* RouteErrLogForTesting(DiagnosticLog* log)
{
    return std::exchange(g_testLog, log);
}

void WriteErrLog(const std::string& msg)
{
    if (CollectErrLogMessage(msg))
        return;
    activeLog().write(msg);
}

bool DebugBit(int32_t mask)
{
    return activeLog().debugBit(mask);
}

bool DebugFlag()
{
    return activeLog().debugFlag();
}

int32_t DebugLevel()
{
    return activeLog().debugLevel();
}

void ErrLogStartup()
{
    processLog().startup();
    installFatalErrorHooks();
}

void ErrLogShutdown(int exitCode)
{
    processLog().shutdown(exitCode);
}

void ExitProgram(int exitCode)
{
    ErrLogShutdown(exitCode);
    std::exit(exitCode);
}
