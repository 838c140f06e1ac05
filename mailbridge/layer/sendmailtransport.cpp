#include "mailbridge/layer/envelope.h"
#include "mailbridge/layer/localservices.h"
#include "mailbridge/layer/maillayer.h"
#include "mailbridge/layer/vmimesession.h"

#include <csignal>
#include <ctime>
#include <filesystem>
#include <pthread.h>
#include <vmime/vmime.hpp>

namespace vsolo::mail {
namespace {

// While alive, a program that exits before reading all of the message makes the write fail
// with EPIPE instead of killing the caller with SIGPIPE.
class SigpipeBlock {
public:
    SigpipeBlock() {
        sigemptyset(&m_pipe);
        sigaddset(&m_pipe, SIGPIPE);
        sigset_t pending;
        sigemptyset(&pending);
        sigpending(&pending);
        m_wasPending = sigismember(&pending, SIGPIPE) == 1;
        m_blocked = pthread_sigmask(SIG_BLOCK, &m_pipe, &m_previous) == 0;
    }
    ~SigpipeBlock() {
        if (!m_blocked)
            return;
        // Take back a SIGPIPE raised here, so that it is not delivered when the mask is restored.
        if (!m_wasPending) {
            const timespec noWait{0, 0};
            while (sigtimedwait(&m_pipe, nullptr, &noWait) == SIGPIPE) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
    }
    SigpipeBlock(const SigpipeBlock&) = delete;
    SigpipeBlock& operator=(const SigpipeBlock&) = delete;

private:
    sigset_t m_pipe;
    sigset_t m_previous;
    bool m_wasPending = false;
    bool m_blocked = false;
};

class SendmailTransport : public MailTransport {
public:
    explicit SendmailTransport(std::string program) : m_program(std::move(program)) {}

    unsigned long send(const std::string& raw, const std::string& fromAddress,
                       const std::vector<std::string>& toAddresses, const std::string&) override {
        std::string refused;
        const std::optional<Envelope> envelope = makeEnvelope(fromAddress, toAddresses, refused);
        setFailureCause(refused);
        if (!envelope)
            return code::kInvalidRecipients;
        try {
            auto session = makeSession();
            session->getProperties()["transport.sendmail.binpath"] = m_program;
            const auto transport = session->getTransport("sendmail");
            if (!transport)
                return code::kFailure;
            vmime::utility::inputStreamStringAdapter in(raw);
            const SigpipeBlock noSigpipe;
            transport->connect();
            // VMime reports a program that cannot be started or exits non-zero as an
            // exception, so reaching the disconnect means the program took the message.
            // VMime's sendmail service takes the address after -f from the sender argument.
            transport->send(envelope->from, envelope->to, in, raw.size(), nullptr, envelope->from);
            transport->disconnect();
            return code::kSuccess;
        } catch (const std::bad_alloc&) {
            return code::kInsufficientMemory;
        } catch (...) {
            setFailureCause("the mail program " + m_program + " did not take the message");
            return code::kFailure;
        }
    }

private:
    std::string m_program;
};

} // namespace

std::unique_ptr<MailTransport> makeSendmailTransport(const std::string& programPath) {
    // VMime starts only a program named by an absolute path.
    std::error_code error;
    const auto absolute = std::filesystem::absolute(programPath, error);
    return std::make_unique<SendmailTransport>(error ? programPath : absolute.string());
}

} // namespace vsolo::mail
