// The stylesheet of the report's pages, inline in each of them.
#pragma once

namespace hkcsv {

inline constexpr char kPageStyle[] =
    "body{font-family:sans-serif;margin:1.5em;color:#222}"
    "h1{font-size:1.6em}h2{border-bottom:2px solid #444;padding-bottom:.2em;margin-top:2em}"
    "table{border-collapse:collapse;margin:1em 0;font-size:.85em}"
    "th,td{border:1px solid #bbb;padding:.2em .45em;text-align:right;white-space:nowrap}"
    "th{background:#eee}td.text{text-align:left}div.wide{overflow-x:auto}"
    "tr.problem{background:#fde2dd;font-weight:bold}"
    "tr.problem td:first-child::before{content:\"\\26A0  \"}"
    "td.bad{color:#a00000;text-decoration:underline}"
    "p.problem{color:#a00000;font-weight:bold}"
    "dl.summary{display:grid;grid-template-columns:max-content auto;gap:.2em 1em}"
    "dl.summary dt{font-weight:bold}dl.summary dd{margin:0}"
    "figure{margin:1.5em 0;max-width:1200px}figure svg{width:100%;height:auto}"
    "figcaption{font-size:.85em;color:#444}"
    "@media print{figure,tr{break-inside:avoid;page-break-inside:avoid}body{margin:0}div.wide{overflow:visible}}";

}  // namespace hkcsv
