# tapster_source_date(<epoch variable> <date variable> <source folder>): the time every
# package's files carry, in seconds and as "YYYY-MM-DD hh:mm:ss" (UTC). It is
# SOURCE_DATE_EPOCH when that is set, else the time of the source's last commit, else (a
# source without its history) the time of its CMakeLists.txt. Every build of a commit gets the
# same time, so the same bytes.
function(tapster_source_date epoch_out date_out source_dir)
  set(epoch "$ENV{SOURCE_DATE_EPOCH}")
  if(NOT epoch MATCHES "^[0-9]+$")
    execute_process(COMMAND git -C "${source_dir}" log -1 --format=%ct
                    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE
                    RESULT_VARIABLE result ERROR_QUIET)
    if(NOT result EQUAL 0 OR NOT epoch MATCHES "^[0-9]+$")
      file(TIMESTAMP "${source_dir}/CMakeLists.txt" epoch "%s" UTC)
      message(STATUS "No SOURCE_DATE_EPOCH and no git history: the packages' files carry the "
                     "time of CMakeLists.txt")
    endif()
  endif()
  # Zip archives hold no time before 1980.
  if(epoch LESS 315532800)
    set(epoch 315532800)
  endif()
  # string(TIMESTAMP) tells SOURCE_DATE_EPOCH's time rather than the current one.
  set(before "$ENV{SOURCE_DATE_EPOCH}")
  set(ENV{SOURCE_DATE_EPOCH} "${epoch}")
  string(TIMESTAMP date "%Y-%m-%d %H:%M:%S" UTC)
  set(ENV{SOURCE_DATE_EPOCH} "${before}")
  set(${epoch_out} "${epoch}" PARENT_SCOPE)
  set(${date_out} "${date}" PARENT_SCOPE)
endfunction()
