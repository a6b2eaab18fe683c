# cmake -DESQUEMA=db/schema.sql -DBASE=out/ORVALIS.FDB -P CriaBaseVazia.cmake
# The empty database shipped with the program: the contract without rows. A notebook's first
# start copies it, opens it with no user and so goes straight to the first synchronisation.
get_filename_component(pasta "${BASE}" DIRECTORY)
file(MAKE_DIRECTORY "${pasta}")
set(novo "${BASE}.novo")
file(REMOVE "${novo}")
file(READ "${ESQUEMA}" ddl)
file(WRITE "${novo}.sql"
  "SET NAMES UTF8;\nCREATE DATABASE '${novo}' USER 'SYSDBA' PASSWORD 'masterkey' PAGE_SIZE 8192 "
  "DEFAULT CHARACTER SET WIN1252;\n${ddl}\nCOMMIT;\n")
execute_process(COMMAND isql-fb -q -b -ch UTF8 -i "${novo}.sql"
                RESULT_VARIABLE resultado OUTPUT_VARIABLE saida ERROR_VARIABLE saida)
file(REMOVE "${novo}.sql")
if(NOT resultado EQUAL 0)
  file(REMOVE "${novo}")
  message(FATAL_ERROR "isql-fb could not build the empty database: ${saida}")
endif()
file(RENAME "${novo}" "${BASE}")
