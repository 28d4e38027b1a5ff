# cmake -DCMARK=PROGRAM -DINPUT=README.md -DOUTPUT=README.html -DTITLE=TEXT -P readme_html.cmake
# Renders the README with cmark into a small page of its own (UTF-8, a title,
# a few lines of style), for machines that have no Markdown viewer. cmark
# leaves raw HTML out, so the screenshots of docs/ (not shipped) are dropped.
execute_process(COMMAND "${CMARK}" --to html "${INPUT}" OUTPUT_VARIABLE body COMMAND_ERROR_IS_FATAL ANY)
file(WRITE "${OUTPUT}" "<!DOCTYPE html>
<html lang=\"en\">
<head>
<meta charset=\"utf-8\">
<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">
<title>${TITLE}</title>
<style>
body { max-width: 56em; margin: 2em auto; padding: 0 1em; font-family: sans-serif; line-height: 1.45; }
pre { background: #f4f4f4; padding: 0.6em; overflow-x: auto; }
code { font-size: 0.95em; }
</style>
</head>
<body>
${body}</body>
</html>
")
