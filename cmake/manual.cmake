# Turns docs/manual.md into a stand-alone HTML page with cmark (run with cmake -P).
# In: CMARK (the program), INPUT (the Markdown file), OUTPUT (the HTML file).
execute_process(COMMAND ${CMARK} --smart ${INPUT} OUTPUT_VARIABLE body RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmark could not convert ${INPUT}")
endif()
file(WRITE ${OUTPUT} "<!DOCTYPE html>
<html lang=\"en\">
<head>
<meta charset=\"utf-8\">
<title>Umbrix user manual</title>
<style>
body { font-family: sans-serif; max-width: 50em; margin: 2em auto; padding: 0 1em; line-height: 1.45; }
pre { background: #f2f2f2; padding: 0.6em; overflow-x: auto; }
code { font-size: 0.95em; }
h1, h2 { color: #2a3f5a; }
</style>
</head>
<body>
${body}</body>
</html>
")
