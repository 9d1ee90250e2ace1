# Fails, naming the texts, when lupdate finds texts the catalogue TS does not translate.
file(COPY_FILE ${TS} ${COPY})
execute_process(COMMAND ${LUPDATE} -no-obsolete -locations none -I ${SOURCE_DIR}
                        ${SOURCE_DIR}/app ${SOURCE_DIR}/grid ${SOURCE_DIR}/texts -ts ${COPY}
                RESULT_VARIABLE failed OUTPUT_QUIET)
if(failed)
    message(FATAL_ERROR "lupdate failed on ${COPY}")
endif()
file(READ ${COPY} catalogue)
string(REGEX MATCHALL "<source>[^<]*</source>[ \n]*<translation type=\"unfinished\""
       untranslated "${catalogue}")
if(untranslated)
    list(LENGTH untranslated count)
    string(REGEX REPLACE "</source>[^;]*" "" untranslated "${untranslated}")
    string(REPLACE "<source>" "\n  " untranslated "${untranslated}")
    message(FATAL_ERROR "${count} texts without a translation in ${TS}:${untranslated}\n"
                        "Run the update_translations target and translate them.")
endif()
