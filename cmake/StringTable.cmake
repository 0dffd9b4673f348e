# vantrel_string_table(target tsvfile): compiles a module's string table (id<TAB>text lines) into
# `target` as the exported symbol that CXStringW::Load finds. The generator is a host tool of
# platform/hxicore; the table is regenerated whenever the .tsv or the generator changes.
include_guard(GLOBAL)

function(vantrel_string_table target tsvfile)
  get_filename_component(tsv "${tsvfile}" ABSOLUTE)
  set(generated "${CMAKE_CURRENT_BINARY_DIR}/${target}_string_table.cpp")
  add_custom_command(
    OUTPUT "${generated}"
    COMMAND vantrel_string_table_gen "${tsv}" "${generated}"
    DEPENDS vantrel_string_table_gen "${tsv}"
    COMMENT "Generating the string table of ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE "${generated}")
  # Only the layout header is needed, so the target's own link line is left alone.
  set_source_files_properties("${generated}" PROPERTIES
    INCLUDE_DIRECTORIES "$<TARGET_PROPERTY:hxicore,SOURCE_DIR>/include")
endfunction()
