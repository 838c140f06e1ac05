#include "core/base/fileerrortext.h"
#include "core/base/usertext.h"

#include <gtest/gtest.h>
#include <map>
#include <string>

namespace vsolo {
namespace {

// A translator that knows a few texts and counts how often it is asked for each. The tests of
// the other modules run without one, so every test here ends by taking it away.
class UserText : public ::testing::Test {
protected:
    void TearDown() override { setTextTranslator({}); }

    void translate(std::map<std::string, std::string> known) {
        setTextTranslator([this, known = std::move(known)](const char* text) {
            ++m_asked[text];
            const auto found = known.find(text);
            return found == known.end() ? std::string(text) : found->second;
        });
    }

    std::map<std::string, int> m_asked;
};

TEST_F(UserText, WithoutTranslatorIsTheTextItself) {
    const char* text = "Nothing to send.";
    EXPECT_EQ(tx(text), text);
}

TEST_F(UserText, AsksTheTranslatorOncePerText) {
    translate({{"Nothing to send.", "Nichts zu senden."}});
    const char* first = tx("Nothing to send.");
    EXPECT_STREQ(first, "Nichts zu senden.");
    EXPECT_EQ(tx("Nothing to send."), first);
    EXPECT_STREQ(tx("Cancel"), "Cancel");
    EXPECT_STREQ(tx("Cancel"), "Cancel");
    EXPECT_EQ(m_asked, (std::map<std::string, int>{{"Cancel", 1}, {"Nothing to send.", 1}}));
}

TEST_F(UserText, TextHandedOutOutlivesItsTranslator) {
    translate({{"Cancel", "Abbrechen"}});
    const char* before = tx("Cancel");
    translate({{"Cancel", "Annuler"}});
    EXPECT_STREQ(tx("Cancel"), "Annuler");
    EXPECT_STREQ(before, "Abbrechen");
}

// The core translates a pattern before it fills in its placeholders, so that a translation may
// put them in another order.
TEST_F(UserText, CoreFillsPlaceholdersIntoTheTranslation) {
    translate({{"Cannot write %1.\r\n\r\n%2\r\n\r\nNothing was written, so the file is as it was.",
                "%2: %1 blieb, wie sie war."}});
    EXPECT_EQ(unstorableWriteText("/home/a/Desk.tpl", "Zu lang"),
              "Zu lang: /home/a/Desk.tpl blieb, wie sie war.");
}

} // namespace
} // namespace vsolo
