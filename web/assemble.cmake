# Puts the page into one file: the style, the page's script, and the engine with the worker that
# runs it, each where page.html marks its place. The engine and the worker are kept as text (not
# run by the page), which the page hands to a Web Worker.
file(READ ${SOURCE}/page.html page)
file(READ ${SOURCE}/page.css style)
file(READ ${SOURCE}/page.js script)
file(READ ${SOURCE}/worker.js worker)
file(READ ${ENGINE} engine)
string(FIND "${engine}${worker}${script}" "</script" closing)
if(NOT closing EQUAL -1)
    message(FATAL_ERROR "a script holds \"</script\", which would end it early in the page")
endif()
string(REPLACE "/*style*/" "${style}" page "${page}")
string(REPLACE "/*script*/" "${script}" page "${page}")
string(REPLACE "/*worker*/" "${engine}\n${worker}" page "${page}")
file(WRITE ${OUTPUT} "${page}")
