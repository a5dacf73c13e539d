# Puts the page into one file: the style, the first check (ES5), the page's scripts, and the engine
# with the worker that runs it, each where page.html marks its place. The engine and the worker
# are kept as text (not run by the page), which the page hands to a Web Worker.
file(READ ${SOURCE}/page.html page)
file(READ ${SOURCE}/page.css style)
file(READ ${ENGINE} engine)
# The page's scripts minified by Closure (their names kept) into what the browsers the page is for
# parse: ES2020 at most, and the first check any ES5 browser at all; each checked as it is shipped.
find_program(ACORN acorn REQUIRED)
# Each as: file, the variable it is read into, the edition as Closure and as acorn name it.
foreach(item IN ITEMS "check;check;ECMASCRIPT5;5" "page;script;ECMASCRIPT_2020;2020"
                      "kit;kit;ECMASCRIPT_2020;2020" "worker;worker;ECMASCRIPT_2020;2020")
    list(GET item 0 file)
    list(GET item 1 name)
    list(GET item 2 language)
    list(GET item 3 edition)
    set(source ${SOURCE}/${file}.js)
    set(minified ${OUTPUT}.${file}.js)
    execute_process(COMMAND ${CLOSURE} --js ${source} --js_output_file ${minified}
        --compilation_level SIMPLE --charset UTF-8 --language_out ${language}
        COMMAND_ERROR_IS_FATAL ANY)
    execute_process(COMMAND ${ACORN} --silent --ecma${edition} ${minified} RESULT_VARIABLE parsed)
    if(NOT parsed EQUAL 0)
        message(FATAL_ERROR "not valid JavaScript of the edition the browsers parse: ${source}")
    endif()
    file(READ ${minified} ${name})
    file(REMOVE ${minified})
endforeach()
execute_process(COMMAND ${ACORN} --silent --ecma2020 ${ENGINE} RESULT_VARIABLE parsed)
if(NOT parsed EQUAL 0)
    message(FATAL_ERROR "not valid JavaScript of the edition the browsers parse: ${ENGINE}")
endif()
# The module uses nothing beyond the first WebAssembly version (and mutable globals), which every
# engine the page is for has: no exception handling, no sign extension, no bulk memory. binaryen
# refuses to validate it otherwise.
find_program(NODE node REQUIRED)
find_program(WASM_OPT wasm-opt REQUIRED)
foreach(wasm IN ITEMS ${MODULE} ${UNPACKER})
    execute_process(COMMAND ${WASM_OPT} --mvp-features --enable-mutable-globals ${wasm}
        RESULT_VARIABLE valid OUTPUT_QUIET ERROR_VARIABLE why)
    if(NOT valid EQUAL 0)
        message(FATAL_ERROR "${wasm} uses a WebAssembly feature that older engines lack: ${why}")
    endif()
endforeach()
string(FIND "${engine}${worker}${check}${script}${kit}" "</script" closing)
if(NOT closing EQUAL -1)
    message(FATAL_ERROR "a script holds \"</script\", which would end it early in the page")
endif()
string(REPLACE "/*style*/" "${style}" page "${page}")
string(REPLACE "/*check*/" "${check}" page "${page}")
string(REPLACE "/*kit*/" "${kit}" page "${page}")
string(REPLACE "/*script*/" "${script}" page "${page}")
string(REPLACE "/*worker*/" "${engine}\n${worker}" page "${page}")
# The module packed by LZMA (xz's .lzma format, its unpacked size written into its header), and
# the module that unpacks it, each in base64, as the worker reads them back. Packed, the page is
# some 40 KB smaller sent compressed, and three times smaller saved as a file.
find_program(XZ xz REQUIRED)
set(packed ${OUTPUT}.lzma)
execute_process(COMMAND ${XZ} --format=lzma -9e --stdout ${MODULE} OUTPUT_FILE ${packed}
    COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${NODE} -e "const fs = require('fs');
    const packed = fs.readFileSync(process.argv[1]);
    packed.writeBigUInt64LE(BigInt(fs.statSync(process.argv[2]).size), 5);
    fs.writeFileSync(process.argv[1], packed.toString('base64'));
    fs.writeFileSync(process.argv[3], fs.readFileSync(process.argv[4]).toString('base64'));"
    ${packed} ${MODULE} ${packed}.unpacker ${UNPACKER}
    COMMAND_ERROR_IS_FATAL ANY)
file(READ ${packed} module)
file(READ ${packed}.unpacker unpacker)
file(REMOVE ${packed} ${packed}.unpacker)
string(REPLACE "/*unpacker*/" "${unpacker}" page "${page}")
string(REPLACE "/*module*/" "${module}" page "${page}")
# The licences of the libraries compiled into the engine, which travel with it.
file(GLOB licences ${LICENCES}/*.txt)
set(notice "")
foreach(licence IN LISTS licences)
    get_filename_component(name ${licence} NAME_WE)
    file(READ ${licence} text)
    string(REPLACE "--" "- -" text "${text}")  # a comment may not hold two hyphens
    string(APPEND notice "\n${name}:\n${text}")
endforeach()
string(REPLACE "</html>" "</html>\n<!-- The engine includes these libraries:${notice}-->" page "${page}")
file(WRITE ${OUTPUT} "${page}")
