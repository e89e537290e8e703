# The languages of はしごろう are the files under texts/languages/, one each: adding one there
# is all a new language takes. Sets `sources_var` to the catalogue's sources and writes the list
# of languages into `include_dir`/languages.inc for the catalogue to read.
function(hashigoro_text_sources texts_dir include_dir sources_var)
    file(GLOB languages CONFIGURE_DEPENDS ${texts_dir}/languages/*.cpp)
    list(SORT languages)
    set(list "")
    foreach(file ${languages})
        get_filename_component(name ${file} NAME_WE)
        string(APPEND list "HASHIGORO_LANGUAGE(${name})\n")
    endforeach()
    file(CONFIGURE OUTPUT ${include_dir}/languages.inc CONTENT "${list}")
    set(${sources_var} ${texts_dir}/catalogue.cpp ${languages} PARENT_SCOPE)
endfunction()
