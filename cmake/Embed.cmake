# zr_embed(target file symbol): compiles the bytes of a file into the target as
#   extern const unsigned char <symbol>[]; extern const std::size_t <symbol>_size;
function(zr_embed target file symbol)
  set(_out ${CMAKE_BINARY_DIR}/embed/${symbol}.cpp)
  add_custom_command(
    OUTPUT ${_out}
    COMMAND ${CMAKE_COMMAND} -DIN=${file} -DOUT=${_out} -DSYM=${symbol} -P ${CMAKE_SOURCE_DIR}/cmake/EmbedFile.cmake
    DEPENDS ${file} ${CMAKE_SOURCE_DIR}/cmake/EmbedFile.cmake
    VERBATIM)
  target_sources(${target} PRIVATE ${_out})
endfunction()
