// The Group Policy template (packaging/policy): well-formed, and every registry key and value it
// writes is one Tapster reads, in the form Tapster reads it.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "options/policy_interval.h"
#include "platform/policy.h"
#include "platform/small_xml.h"
#include "targets/policy_targets.h"

namespace tapster {
namespace {

using testing::XmlElement;

std::unique_ptr<XmlElement> read_template(const std::string& file) {
    std::ifstream in(std::string(TAPSTER_POLICY_TEMPLATES) + "/" + file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_FALSE(text.str().empty()) << file;
    return testing::SmallXmlReader(text.str()).read();
}

// The names an attribute refers to as $(kind.name), anywhere below the element.
std::set<std::string> references(const XmlElement& root, const std::string& kind) {
    std::set<std::string> names;
    root.walk([&](const XmlElement& element) {
        for (const auto& [key, value] : element.attributes) {
            const std::string opening = "$(" + kind + ".";
            if (value.rfind(opening, 0) == 0 && value.back() == ')') {
                names.insert(value.substr(opening.size(), value.size() - opening.size() - 1));
            }
        }
    });
    return names;
}

std::set<std::string> ids_of(const XmlElement& root, const std::string& element_name,
                             const std::string& id_attribute) {
    std::set<std::string> ids;
    root.walk([&](const XmlElement& element) {
        if (element.name == element_name) {
            ids.insert(element.attribute(id_attribute));
        }
    });
    return ids;
}

TEST(PolicyTemplate, NamesOnlyTheKeysAndValuesTapsterReadsInTheFormItReadsThem) {
    std::unique_ptr<XmlElement> admx;
    ASSERT_NO_THROW(admx = read_template("tapster.admx"));
    const std::string tapster_key(platform::policy_keys::kTapster);
    const std::string targets_key =
        tapster_key + "\\" + std::string(platform::policy_keys::kTargets);

    std::set<std::string> policies;
    admx->walk([&](const XmlElement& element) {
        if (!element.attribute("key").empty()) {
            EXPECT_TRUE(element.attribute("key") == tapster_key ||
                        element.attribute("key") == targets_key)
                << element.name << " writes under " << element.attribute("key");
        }
        if (element.name == "policy") {
            policies.insert(element.attribute("name"));
            // Tapster reads the machine's part of the registry and the user's.
            EXPECT_EQ(element.attribute("class"), "Both") << element.attribute("name");
        }
        if (element.name == "list") {
            // Free value names, plain REG_SZ texts: each a target line.
            EXPECT_EQ(element.attribute("key"), targets_key);
            EXPECT_EQ(element.attribute("valuePrefix"), "");
            EXPECT_NE(element.attribute("explicitValue"), "true");
            EXPECT_NE(element.attribute("expandable"), "true");
        }
        if (element.name == "policy" && element.attribute("name") == "History") {
            // Enabled writes 1, disabled 0: the two values Tapster takes.
            EXPECT_EQ(element.attribute("valueName"), platform::policy_keys::kHistory);
            std::set<std::string> written;
            element.walk([&](const XmlElement& inner) {
                for (const auto& child : inner.children) {
                    if (child->name == "decimal") {
                        written.insert(inner.name + "=" + child->attribute("value"));
                    }
                }
            });
            EXPECT_EQ(written, (std::set<std::string>{"enabledValue=1", "disabledValue=0"}));
        } else if (element.name == "decimal" && element.attribute("id").empty()) {
            EXPECT_EQ(element.attribute("valueName"), "") << "a value of the policy's own";
        } else if (element.name == "decimal") {
            EXPECT_EQ(element.attribute("valueName"), platform::policy_keys::kInterval);
            EXPECT_NE(element.attribute("storeAsText"), "true") << "a DWORD";
            EXPECT_EQ(element.attribute("minValue"), std::to_string(IntervalPolicy::kShortest));
            EXPECT_EQ(element.attribute("maxValue"), std::to_string(IntervalPolicy::kLongest));
        } else {
            EXPECT_EQ(element.attribute("valueName"), "") << element.name << " writes a value";
        }
    });
    EXPECT_EQ(policies, (std::set<std::string>{"Targets", "Interval", "History"}));
}

TEST(PolicyTemplate, ItsTextsExistAndTheExampleLineIsOneTapsterTakes) {
    std::unique_ptr<XmlElement> admx;
    std::unique_ptr<XmlElement> adml;
    ASSERT_NO_THROW(admx = read_template("tapster.admx"));
    ASSERT_NO_THROW(adml = read_template("en-US/tapster.adml"));

    const std::set<std::string> strings = ids_of(*adml, "string", "id");
    for (const std::string& name : references(*admx, "string")) {
        EXPECT_TRUE(strings.count(name) == 1) << "no string " << name;
    }
    const std::set<std::string> presentations = ids_of(*adml, "presentation", "id");
    EXPECT_EQ(references(*admx, "presentation"), presentations);
    std::set<std::string> element_ids;
    for (const char* kind : {"list", "decimal"}) {
        const std::set<std::string> ids = ids_of(*admx, kind, "id");
        element_ids.insert(ids.begin(), ids.end());
    }
    element_ids.erase("");  // the values a policy writes when enabled or disabled
    std::set<std::string> shown_ids;
    for (const char* kind : {"listBox", "decimalTextBox"}) {
        const std::set<std::string> ids = ids_of(*adml, kind, "refId");
        shown_ids.insert(ids.begin(), ids.end());
    }
    EXPECT_EQ(shown_ids, element_ids);

    std::string help;
    adml->walk([&](const XmlElement& element) {
        if (element.name == "string" && element.attribute("id") == "Targets_Help") {
            help = element.text;
        }
    });
    std::istringstream lines(help);
    int examples = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.find(" **** ") != std::string::npos && line.find('"') == std::string::npos) {
            ++examples;
            EXPECT_EQ(read_policy_target_line(line).problem, "") << line;
        }
    }
    EXPECT_GE(examples, 2) << "one without conditions, one with";
}

}  // namespace
}  // namespace tapster
