# Valgrind memcheck over the stand-in host path (optimised Linux build
# only: instrumented builds do not run under valgrind): the plug-in tests
# with their host, the soak and extreme positions, and geoharm-call, each a CTest test that fails
# on any memcheck error or on memory definitely or indirectly lost.  Call
# counts are cut so that each run takes seconds under valgrind.
find_program(VALGRIND valgrind REQUIRED)
set(memcheck ${CMAKE_CURRENT_SOURCE_DIR}/memcheck.sh)

add_test(NAME memcheck_plugin_tests
         COMMAND sh ${memcheck} 0 - $<TARGET_FILE:plugin_tests>)
add_test(NAME memcheck_plugin_hardening
         COMMAND sh ${memcheck} 0 - $<TARGET_FILE:plugin_hardening_tests>)
set_tests_properties(memcheck_plugin_tests memcheck_plugin_hardening PROPERTIES
                     ENVIRONMENT "GEOHARM_THREAD_CALLS=10000;GEOHARM_SOAK_CALLS=100000")

# geoharm-call and geoharm.mexa64: every record of the identity set, with N and M as int8,
# as doubles, as uint64, with a long position vector, and a refused call (exit 3).
set(records ${PROJECT_SOURCE_DIR}/tests/data/identity_records.txt)
set(call $<TARGET_FILE:geoharm-call> $<TARGET_FILE:geoharm_mex>)
add_test(NAME memcheck_geoharm_call_int8 COMMAND sh ${memcheck} 0 ${records} ${call})
add_test(NAME memcheck_geoharm_call_double COMMAND sh ${memcheck} 0 ${records} ${call} --class double --nlhs 2)
add_test(NAME memcheck_geoharm_call_uint64 COMMAND sh ${memcheck} 0 ${records} ${call} --n-class uint64 --nlhs 0)
add_test(NAME memcheck_geoharm_call_large_position
         COMMAND sh ${memcheck} 0 ${records} ${call} --position 30000x1 --m-class single)
add_test(NAME memcheck_geoharm_call_refused COMMAND sh ${memcheck} 3 ${records} ${call} --nrhs 2)

# geoharm_batch through geoharm-call: the identity records in runs, in
# both output forms, and a refused call.
set(batch_call $<TARGET_FILE:geoharm-call> $<TARGET_FILE:geoharm_batch_mex>)
add_test(NAME memcheck_geoharm_call_batch COMMAND sh ${memcheck} 0 ${records} ${batch_call} --class double)
add_test(NAME memcheck_geoharm_call_batch_3_outputs COMMAND sh ${memcheck} 0 ${records} ${batch_call} --nlhs 3)
add_test(NAME memcheck_geoharm_call_batch_refused COMMAND sh ${memcheck} 3 ${records} ${batch_call} --nlhs 2)
# geoharm_gradient through geoharm-call: the identity records in runs, N and
# M as doubles, and a refused call.
set(gradient_call $<TARGET_FILE:geoharm-call> $<TARGET_FILE:geoharm_gradient_mex>)
add_test(NAME memcheck_geoharm_call_gradient COMMAND sh ${memcheck} 0 ${records} ${gradient_call} --class double)
add_test(NAME memcheck_geoharm_call_gradient_refused COMMAND sh ${memcheck} 3 ${records} ${gradient_call} --nlhs 4)
set_tests_properties(memcheck_plugin_tests memcheck_plugin_hardening memcheck_geoharm_call_int8
                     memcheck_geoharm_call_gradient memcheck_geoharm_call_gradient_refused
                     memcheck_geoharm_call_double memcheck_geoharm_call_uint64
                     memcheck_geoharm_call_large_position memcheck_geoharm_call_refused
                     memcheck_geoharm_call_batch memcheck_geoharm_call_batch_3_outputs
                     memcheck_geoharm_call_batch_refused
                     PROPERTIES LABELS memcheck TIMEOUT 600)
