// SPDX-License-Identifier: MIT
// `gattdb dump -f html`: one page that needs nothing but itself. The server side writes the tables,
// so they read without scripts; the script draws the byte map from the data block and links it
// with the table.
#include "core/reports/html_view.hpp"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <string_view>

#include "core/analysis/checks.hpp"
#include "core/image/builder.hpp"
#include "core/model/labels.hpp"
#include "core/model/uuid.hpp"
#include "core/reports/attribute_rows.hpp"
#include "core/support/hex.hpp"

namespace gattdb::tool {
namespace {

// The page may run its own inline style and script and load nothing at all.
constexpr std::string_view HEAD = R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta http-equiv="Content-Security-Policy" content="default-src 'none'; style-src 'unsafe-inline'; script-src 'unsafe-inline'">
<meta name="viewport" content="width=device-width, initial-scale=1">
<style>
body { font: 14px/1.45 system-ui, sans-serif; color: #1d2330; background: #f5f6f8; margin: 0; padding: 24px 32px; }
h1 { font-size: 20px; margin: 0 0 2px; } h2 { font-size: 15px; margin: 22px 0 8px; }
.meta { color: #5b6475; margin: 0; }
code, .bytes, td.details { font-family: ui-monospace, monospace; font-size: 12.5px; }
.panel { background: #fff; border: 1px solid #dde1e8; border-radius: 8px; padding: 12px 16px; }
.usage { display: grid; grid-template-columns: max-content 1fr max-content; gap: 6px 12px; align-items: center; }
.track { position: relative; height: 14px; background: #eceff4; border-radius: 4px; }
.fill { position: absolute; top: 0; bottom: 0; background: #3f7fd9; border-radius: 4px; min-width: 2px; }
.count { color: #5b6475; font-size: 12px; }
.findings { margin: 0; padding: 0; list-style: none; }
.finding { font-size: 12.5px; font-weight: normal; } .finding.error b { color: #b42318; } .finding.warning b { color: #9a6700; }
.finding .rule { color: #5b6475; }
table { border-collapse: collapse; width: 100%; }
th { text-align: left; font-weight: 600; color: #5b6475; border-bottom: 1px solid #dde1e8; padding: 4px 8px; }
td { padding: 3px 8px; border-bottom: 1px solid #f0f1f4; vertical-align: top; }
tbody tr { cursor: pointer; } tbody tr:hover { background: #f3f6fb; }
tr.service td { border-top: 2px solid #dde1e8; font-weight: 600; }
tr.selected, tr.selected:hover { background: #fff3c4; }
td.handle { text-align: right; width: 3em; }
td.handle, td.kind, td.uuid { white-space: nowrap; } td.name { min-width: 11em; } td.check { min-width: 18em; }
table.quiet .check { display: none; }
.type { display: inline-block; width: 0.7em; height: 0.7em; border-radius: 2px; margin-right: 6px; }
.service > .type, .block.service { background: #cfe0fb; } .declaration > .type, .block.declaration { background: #fde6c3; }
.value > .type, .block.value { background: #d3f0d8; } .descriptor > .type, .block.descriptor { background: #e8dcfa; }
#byte-map { display: flex; flex-wrap: wrap; gap: 3px; }
.block { border-radius: 4px; padding: 2px 5px; border: 1px solid transparent; }
.block .handle { display: block; font-size: 10px; color: #5b6475; }
.block.selected { border-color: #1d2330; box-shadow: 0 0 0 2px #ffd84d; }
.legend { color: #5b6475; font-size: 12px; margin-top: 8px; }
.legend > span { margin-right: 14px; }
</style>
)";

constexpr std::string_view SCRIPT = R"(<script>
(() => {
  const data = JSON.parse(document.getElementById("gattdb-data").textContent);
  const map = document.getElementById("byte-map");
  for (const a of data.attributes) {
    const block = document.createElement("div");
    block.className = "block " + a.type;
    block.dataset.handle = a.handle;
    block.title = a.label + " \u00b7 offset " + a.offset + ", " + a.size + " bytes";
    const handle = document.createElement("span");
    handle.className = "handle";
    handle.textContent = a.handle;
    const bytes = document.createElement("span");
    bytes.className = "bytes";
    bytes.textContent = data.image.slice(a.offset * 2, (a.offset + a.size) * 2).match(/../g).join(" ");
    block.append(handle, bytes);
    map.append(block);
  }
  const select = (handle) => {
    for (const e of document.querySelectorAll(".selected")) e.classList.remove("selected");
    for (const e of document.querySelectorAll('[data-handle="' + handle + '"]')) e.classList.add("selected");
  };
  for (const e of document.querySelectorAll("[data-handle]")) {
    e.addEventListener("click", () => {
      select(e.dataset.handle);
      const other = document.querySelector((e.tagName === "TR" ? ".block" : "tr") + '[data-handle="' + e.dataset.handle + '"]');
      other.scrollIntoView({block: "nearest"});
    });
  }
  // A link to page.html#handle-3 opens with that attribute marked.
  if (location.hash.startsWith("#handle-")) select(location.hash.slice("#handle-".length));
  document.documentElement.dataset.byteMap = "drawn";
})();
</script>
)";

std::string escaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string tag(std::string_view name, const std::string &attributes, const std::string &content) {
    std::string element = "<";
    element += name;
    if (!attributes.empty()) element += " " + attributes;
    element += ">" + content + "</";
    element += name;
    return element + ">";
}

std::string findings_list(const std::vector<finding> &findings, unsigned handle) {
    std::string items;
    for (const finding &f : findings) {
        if (f.handle != handle) continue;
        const std::string level(severity_name(f.level));
        items += tag(
            "li", "class=\"finding " + level + "\"",
            "<b>" + level + "</b> " + escaped(f.message) + " <span class=\"rule\">[" + f.rule + "]</span>");
    }
    return items.empty() ? "" : tag("ul", "class=\"findings\"", items);
}

// A share of the handles as a percentage with one decimal, "2.4%".
std::string percent(unsigned handles) {
    const unsigned tenths = (handles * 1000 + MAX_HANDLE / 2) / MAX_HANDLE;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + "%";
}

std::string usage_bars(const database &db) {
    std::string bars;
    for (const service_row &s : service_rows(db)) {
        const unsigned count = s.last_handle - s.first_handle + 1;
        const std::string style = "left:" + percent(s.first_handle - 1) + ";width:" + percent(count);
        bars += tag("span", "", escaped(uuid_label(s.uuid))) +
                tag("div", "class=\"track\"", tag("div", "class=\"fill\" style=\"" + style + "\"", "")) +
                tag("span", "class=\"count\"",
                    handle_range(s.first_handle, s.last_handle) + " (" + percent(count) + ")");
    }
    return tag("div", "class=\"panel usage\"", bars);
}

std::string attributes_table(const std::vector<attribute_row> &rows, const std::vector<finding> &findings) {
    std::string body;
    for (const attribute_row &a : rows) {
        body += tag("tr",
                    "class=\"" + std::string(a.type) + "\" data-handle=\"" + std::to_string(a.handle) + "\"",
                    tag("td", "class=\"handle\"", std::to_string(a.handle)) +
                        tag("td", "class=\"kind " + std::string(a.type) + "\"",
                            "<span class=\"type\"></span>" + std::string(a.type)) +
                        tag("td", "class=\"uuid\"", tag("code", "", display_uuid(a.uuid))) +
                        tag("td", "class=\"name\"", escaped(uuid_name(a.uuid))) +
                        tag("td", "class=\"details\"", escaped(a.details)) +
                        tag("td", "class=\"check\"", findings_list(findings, a.handle))) +
                "\n";
    }
    // The check column only when a finding concerns an attribute.
    const bool quiet =
        std::none_of(findings.begin(), findings.end(), [](const finding &f) { return f.handle != 0; });
    return tag("table", std::string("id=\"attributes\"") + (quiet ? " class=\"quiet\"" : ""),
               "<thead><tr><th>Handle</th><th>Attribute</th><th>UUID</th><th>Name</th><th>Details</th>"
               "<th class=\"check\">Check</th></tr></thead>\n" +
                   tag("tbody", "", body));
}

// The data the script draws the byte map from. '<' is written as an escape so that no text in it
// can close the script element.
std::string data_block(const std::vector<attribute_row> &rows, const std::vector<std::uint8_t> &image) {
    nlohmann::ordered_json data;
    data["image"] = hex_text(image, "");
    data["attributes"] = nlohmann::ordered_json::array();
    for (const attribute_row &a : rows) {
        data["attributes"].push_back({{"handle", a.handle},
                                      {"type", a.type},
                                      {"offset", a.offset},
                                      {"size", a.size},
                                      {"label", "handle " + std::to_string(a.handle) + " \u00b7 " + a.type +
                                                    " \u00b7 " + uuid_label(a.uuid)}});
    }
    std::string text;
    for (char c : data.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)) {
        text += c == '<' ? std::string("\\u003c") : std::string(1, c);
    }
    return tag("script", "type=\"application/json\" id=\"gattdb-data\"", text) + "\n";
}

std::string counts(const std::vector<finding> &findings) {
    std::size_t errors = 0;
    for (const finding &f : findings) errors += f.level == severity::error ? 1 : 0;
    return count_of(errors, "error") + ", " + count_of(findings.size() - errors, "warning");
}

}  // namespace

std::string html_view(const database &db, const std::string &source) {
    const std::vector<attribute_row> rows = attribute_rows(db);
    const std::vector<finding> findings = check_database(db);
    const std::string title = "GATT database: " + escaped(source);
    const std::string database_findings = findings_list(findings, 0);
    std::string legend;
    for (const attribute_kind kind : ATTRIBUTE_KINDS) {
        const std::string type = kind_name(kind);
        legend += tag("span", "class=\"" + type + "\"", "<span class=\"type\"></span>" + type);
    }
    legend += " Hover over a block for its attribute; click a row or a block to mark both.";

    std::string page = std::string(HEAD) + tag("title", "", title) + "\n</head>\n<body>\n";
    page += tag("h1", "", title) + "\n" +
            tag("p", "class=\"meta\"", usage_text(db) + " \u00b7 check: " + counts(findings)) + "\n";
    page += tag("h2", "", "Handles") + "\n" + usage_bars(db) + "\n";
    if (!database_findings.empty()) {
        page += tag("h2", "", "Check") + "\n" + tag("div", "class=\"panel\"", database_findings) + "\n";
    }
    page += tag("h2", "", "Attributes") + "\n" +
            tag("div", "class=\"panel\"", attributes_table(rows, findings)) + "\n";
    page += tag("h2", "", "Image bytes") + "\n" +
            tag("div", "class=\"panel\"",
                "<div id=\"byte-map\"></div>" + tag("div", "class=\"legend\"", legend)) +
            "\n";
    return page + data_block(rows, build_image(db)) + std::string(SCRIPT) + "</body>\n</html>\n";
}

}  // namespace gattdb::tool
