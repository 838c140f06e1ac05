#pragma once

#include "core/prompter.h"

#include <deque>
#include <string>
#include <vector>

namespace vsolo::testing {

// A Prompter that records every text it is given and answers questions from a queue. A question
// with no queued answer takes the preferred button, as pressing Enter would.
class ScriptedPrompter final : public Prompter {
public:
    struct Entry {
        std::string text;
        Icon icon;
        bool question;
        Buttons buttons;
        Answer preferred;
    };

    void show(std::string_view text, Icon icon) override {
        m_entries.push_back({std::string(text), icon, false, Buttons::Ok, Answer::Ok});
    }

    Answer ask(std::string_view text, Buttons buttons, Answer preferred, Icon icon) override {
        m_entries.push_back({std::string(text), icon, true, buttons, preferred});
        if (m_answers.empty()) {
            return preferred;
        }
        const Answer answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }

    void queue(Answer answer) { m_answers.push_back(answer); }
    const std::vector<Entry>& entries() const { return m_entries; }
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const Entry& e : m_entries) {
            out.push_back(e.text);
        }
        return out;
    }
    bool empty() const { return m_entries.empty(); }
    std::size_t pendingAnswers() const { return m_answers.size(); }
    void clear() {
        m_entries.clear();
        m_answers.clear();
    }

private:
    std::vector<Entry> m_entries;
    std::deque<Answer> m_answers;
};

} // namespace vsolo::testing
