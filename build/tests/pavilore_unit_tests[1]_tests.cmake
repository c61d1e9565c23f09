add_test([=[Pattern.OppositeFlipsPairs]=]  /work/main/build/tests/pavilore_unit_tests [==[--gtest_filter=Pattern.OppositeFlipsPairs]==] --gtest_also_run_disabled_tests)
set_tests_properties([=[Pattern.OppositeFlipsPairs]=]  PROPERTIES WORKING_DIRECTORY /work/main/build/tests SKIP_REGULAR_EXPRESSION [==[\[  SKIPPED \]]==] LABELS unit)
set(  pavilore_unit_tests_TESTS Pattern.OppositeFlipsPairs)
