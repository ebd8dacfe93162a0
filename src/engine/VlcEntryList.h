#pragma once

// The libvlc entry points the program may call, in binding order, as one
// X-macro list. Each row is
//   X(return type, name, parameters, arguments, group, stub result)
// where the parameters carry the signature of libvlc's public headers, the
// arguments name those parameters again (for forwarding), the group is the
// oldest libvlc release that has the entry point (TLibVlcGroup), and the stub
// result is what the entry's stub routine returns while the loaded library is
// older than its group:
//   NoStub    not gated: the slot is empty until the library provides it
//   NoResult  the entry point returns nothing
//   Zero      0, 0.0 or a null pointer
//   MinusOne  -1
// The list is expanded into the entry table, its binding and reset, the stubs,
// and the fake libraries of the tests; edit it only here.

#define LIBVLC_ENTRY_LIST(X) \
    /* Read before the version check. */ \
    X(const char*, libvlc_get_version, (void), (), Version, NoStub) \
    /* Base group: bound whenever the version check passes. */ \
    X(libvlc_instance_t*, libvlc_new, (int argc, const char* const* argv), (argc, argv), Base, NoStub) \
    X(void, libvlc_release, (libvlc_instance_t* p_instance), (p_instance), Base, NoStub) \
    X(void, libvlc_retain, (libvlc_instance_t* p_instance), (p_instance), Base, NoStub) \
    X(int, libvlc_add_intf, (libvlc_instance_t* p_instance, const char* name), (p_instance, name), Base, NoStub) \
    X(void, libvlc_wait, (libvlc_instance_t* p_instance), (p_instance), Base, NoStub) \
    X(const char*, libvlc_get_compiler, (void), (), Base, NoStub) \
    X(const char*, libvlc_get_changeset, (void), (), Base, NoStub) \
    X(int, libvlc_event_attach, (libvlc_event_manager_t* p_event_manager, libvlc_event_type_t i_event_type, libvlc_callback_t f_callback, void* user_data), (p_event_manager, i_event_type, f_callback, user_data), Base, NoStub) \
    X(void, libvlc_event_detach, (libvlc_event_manager_t* p_event_manager, libvlc_event_type_t i_event_type, libvlc_callback_t f_callback, void* p_user_data), (p_event_manager, i_event_type, f_callback, p_user_data), Base, NoStub) \
    X(const char*, libvlc_event_type_name, (libvlc_event_type_t event_type), (event_type), Base, NoStub) \
    X(unsigned, libvlc_get_log_verbosity, (const libvlc_instance_t* p_instance), (p_instance), Base, NoStub) \
    X(void, libvlc_set_log_verbosity, (libvlc_instance_t* p_instance, unsigned level), (p_instance, level), Base, NoStub) \
    X(libvlc_log_t*, libvlc_log_open, (libvlc_instance_t* p_instance), (p_instance), Base, NoStub) \
    X(void, libvlc_log_close, (libvlc_log_t* p_log), (p_log), Base, NoStub) \
    X(unsigned, libvlc_log_count, (const libvlc_log_t* p_log), (p_log), Base, NoStub) \
    X(void, libvlc_log_clear, (libvlc_log_t* p_log), (p_log), Base, NoStub) \
    X(libvlc_log_iterator_t*, libvlc_log_get_iterator, (const libvlc_log_t* p_log), (p_log), Base, NoStub) \
    X(void, libvlc_log_iterator_free, (libvlc_log_iterator_t* p_iter), (p_iter), Base, NoStub) \
    X(int, libvlc_log_iterator_has_next, (const libvlc_log_iterator_t* p_iter), (p_iter), Base, NoStub) \
    X(libvlc_log_message_t*, libvlc_log_iterator_next, (libvlc_log_iterator_t* p_iter, libvlc_log_message_t* p_buf), (p_iter, p_buf), Base, NoStub) \
    X(libvlc_media_t*, libvlc_media_new_as_node, (libvlc_instance_t* p_instance, const char* psz_name), (p_instance, psz_name), Base, NoStub) \
    X(void, libvlc_media_add_option, (libvlc_media_t* p_md, const char* psz_options), (p_md, psz_options), Base, NoStub) \
    X(void, libvlc_media_retain, (libvlc_media_t* p_md), (p_md), Base, NoStub) \
    X(void, libvlc_media_release, (libvlc_media_t* p_md), (p_md), Base, NoStub) \
    X(char*, libvlc_media_get_mrl, (libvlc_media_t* p_md), (p_md), Base, NoStub) \
    X(libvlc_media_t*, libvlc_media_duplicate, (libvlc_media_t* p_md), (p_md), Base, NoStub) \
    X(char*, libvlc_media_get_meta, (libvlc_media_t* p_md, libvlc_meta_t e_meta), (p_md, e_meta), Base, NoStub) \
    X(libvlc_state_t, libvlc_media_get_state, (libvlc_media_t* p_md), (p_md), Base, NoStub) \
    X(struct libvlc_media_list_t*, libvlc_media_subitems, (libvlc_media_t* p_md), (p_md), Base, NoStub) \
    X(libvlc_event_manager_t*, libvlc_media_event_manager, (libvlc_media_t* p_md), (p_md), Base, NoStub) \
    X(libvlc_time_t, libvlc_media_get_duration, (libvlc_media_t* p_md), (p_md), Base, NoStub) \
    X(void, libvlc_media_set_user_data, (libvlc_media_t* p_md, void* p_new_user_data), (p_md, p_new_user_data), Base, NoStub) \
    X(void*, libvlc_media_get_user_data, (libvlc_media_t* p_md), (p_md), Base, NoStub) \
    X(libvlc_media_player_t*, libvlc_media_player_new, (libvlc_instance_t* p_libvlc_instance), (p_libvlc_instance), Base, NoStub) \
    X(libvlc_media_player_t*, libvlc_media_player_new_from_media, (libvlc_media_t* p_md), (p_md), Base, NoStub) \
    X(void, libvlc_media_player_release, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(void, libvlc_media_player_retain, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(void, libvlc_media_player_set_media, (libvlc_media_player_t* p_mi, libvlc_media_t* p_md), (p_mi, p_md), Base, NoStub) \
    X(libvlc_media_t*, libvlc_media_player_get_media, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(libvlc_event_manager_t*, libvlc_media_player_event_manager, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(int, libvlc_media_player_is_playing, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(int, libvlc_media_player_play, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(void, libvlc_media_player_pause, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(void, libvlc_media_player_stop, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(void, libvlc_media_player_set_nsobject, (libvlc_media_player_t* p_mi, void* drawable), (p_mi, drawable), Base, NoStub) \
    X(void*, libvlc_media_player_get_nsobject, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(void, libvlc_media_player_set_agl, (libvlc_media_player_t* p_mi, uint32_t drawable), (p_mi, drawable), Base, NoStub) \
    X(uint32_t, libvlc_media_player_get_agl, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(void, libvlc_media_player_set_xwindow, (libvlc_media_player_t* p_mi, uint32_t drawable), (p_mi, drawable), Base, NoStub) \
    X(uint32_t, libvlc_media_player_get_xwindow, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(void, libvlc_media_player_set_hwnd, (libvlc_media_player_t* p_mi, void* drawable), (p_mi, drawable), Base, NoStub) \
    X(void*, libvlc_media_player_get_hwnd, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(libvlc_time_t, libvlc_media_player_get_length, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(libvlc_time_t, libvlc_media_player_get_time, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(void, libvlc_media_player_set_time, (libvlc_media_player_t* p_mi, libvlc_time_t i_time), (p_mi, i_time), Base, NoStub) \
    X(float, libvlc_media_player_get_position, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(void, libvlc_media_player_set_position, (libvlc_media_player_t* p_mi, float f_pos), (p_mi, f_pos), Base, NoStub) \
    X(void, libvlc_media_player_set_chapter, (libvlc_media_player_t* p_mi, int i_chapter), (p_mi, i_chapter), Base, NoStub) \
    X(int, libvlc_media_player_get_chapter, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(int, libvlc_media_player_get_chapter_count, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(int, libvlc_media_player_will_play, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(int, libvlc_media_player_get_chapter_count_for_title, (libvlc_media_player_t* p_mi, int i_title), (p_mi, i_title), Base, NoStub) \
    X(void, libvlc_media_player_set_title, (libvlc_media_player_t* p_mi, int i_title), (p_mi, i_title), Base, NoStub) \
    X(int, libvlc_media_player_get_title, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(int, libvlc_media_player_get_title_count, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(void, libvlc_media_player_previous_chapter, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(void, libvlc_media_player_next_chapter, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(int, libvlc_media_player_set_rate, (libvlc_media_player_t* p_mi, float rate), (p_mi, rate), Base, NoStub) \
    X(float, libvlc_media_player_get_rate, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(libvlc_state_t, libvlc_media_player_get_state, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(float, libvlc_media_player_get_fps, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(unsigned, libvlc_media_player_has_vout, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(int, libvlc_media_player_is_seekable, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(int, libvlc_media_player_can_pause, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(void, libvlc_track_description_release, (libvlc_track_description_t* p_track_description), (p_track_description), Base, NoStub) \
    X(void, libvlc_toggle_fullscreen, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(void, libvlc_set_fullscreen, (libvlc_media_player_t* p_mi, int b_fullscreen), (p_mi, b_fullscreen), Base, NoStub) \
    X(int, libvlc_get_fullscreen, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(float, libvlc_video_get_scale, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(void, libvlc_video_set_scale, (libvlc_media_player_t* p_mi, float f_factor), (p_mi, f_factor), Base, NoStub) \
    X(char*, libvlc_video_get_aspect_ratio, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(void, libvlc_video_set_aspect_ratio, (libvlc_media_player_t* p_mi, const char* psz_aspect), (p_mi, psz_aspect), Base, NoStub) \
    X(int, libvlc_video_get_spu, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(int, libvlc_video_get_spu_count, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(libvlc_track_description_t*, libvlc_video_get_spu_description, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(int, libvlc_video_set_spu, (libvlc_media_player_t* p_mi, int i_spu), (p_mi, i_spu), Base, NoStub) \
    X(int, libvlc_video_set_subtitle_file, (libvlc_media_player_t* p_mi, const char* psz_subtitle), (p_mi, psz_subtitle), Base, NoStub) \
    X(libvlc_track_description_t*, libvlc_video_get_title_description, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(libvlc_track_description_t*, libvlc_video_get_chapter_description, (libvlc_media_player_t* p_mi, int i_title), (p_mi, i_title), Base, NoStub) \
    X(char*, libvlc_video_get_crop_geometry, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(void, libvlc_video_set_crop_geometry, (libvlc_media_player_t* p_mi, const char* psz_geometry), (p_mi, psz_geometry), Base, NoStub) \
    X(int, libvlc_video_get_teletext, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(void, libvlc_video_set_teletext, (libvlc_media_player_t* p_mi, int i_page), (p_mi, i_page), Base, NoStub) \
    X(void, libvlc_toggle_teletext, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(int, libvlc_video_get_track_count, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(libvlc_track_description_t*, libvlc_video_get_track_description, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(int, libvlc_video_get_track, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(int, libvlc_video_set_track, (libvlc_media_player_t* p_mi, int i_track), (p_mi, i_track), Base, NoStub) \
    X(int, libvlc_video_take_snapshot, (libvlc_media_player_t* p_mi, unsigned num, const char* psz_filepath, unsigned int i_width, unsigned int i_height), (p_mi, num, psz_filepath, i_width, i_height), Base, NoStub) \
    X(libvlc_audio_output_t*, libvlc_audio_output_list_get, (libvlc_instance_t* p_instance), (p_instance), Base, NoStub) \
    X(void, libvlc_audio_output_list_release, (libvlc_audio_output_t* p_list), (p_list), Base, NoStub) \
    X(int, libvlc_audio_output_set, (libvlc_media_player_t* p_mi, const char* psz_name), (p_mi, psz_name), Base, NoStub) \
    X(void, libvlc_audio_output_device_set, (libvlc_media_player_t* mp, const char* module, const char* device_id), (mp, module, device_id), Base, NoStub) \
    X(int, libvlc_audio_output_get_device_type, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(void, libvlc_audio_output_set_device_type, (libvlc_media_player_t* p_mp, int device_type), (p_mp, device_type), Base, NoStub) \
    X(void, libvlc_audio_toggle_mute, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(int, libvlc_audio_get_mute, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(void, libvlc_audio_set_mute, (libvlc_media_player_t* p_mi, int status), (p_mi, status), Base, NoStub) \
    X(int, libvlc_audio_get_volume, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(int, libvlc_audio_set_volume, (libvlc_media_player_t* p_mi, int i_volume), (p_mi, i_volume), Base, NoStub) \
    X(int, libvlc_audio_get_track_count, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(libvlc_track_description_t*, libvlc_audio_get_track_description, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(int, libvlc_audio_get_track, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(int, libvlc_audio_set_track, (libvlc_media_player_t* p_mi, int i_track), (p_mi, i_track), Base, NoStub) \
    X(int, libvlc_audio_get_channel, (libvlc_media_player_t* p_mi), (p_mi), Base, NoStub) \
    X(int, libvlc_audio_set_channel, (libvlc_media_player_t* p_mi, int channel), (p_mi, channel), Base, NoStub) \
    X(libvlc_media_list_t*, libvlc_media_list_new, (libvlc_instance_t* p_instance), (p_instance), Base, NoStub) \
    X(void, libvlc_media_list_release, (libvlc_media_list_t* p_ml), (p_ml), Base, NoStub) \
    X(void, libvlc_media_list_retain, (libvlc_media_list_t* p_ml), (p_ml), Base, NoStub) \
    X(void, libvlc_media_list_set_media, (libvlc_media_list_t* p_ml, libvlc_media_t* p_md), (p_ml, p_md), Base, NoStub) \
    X(libvlc_media_t*, libvlc_media_list_media, (libvlc_media_list_t* p_ml), (p_ml), Base, NoStub) \
    X(int, libvlc_media_list_add_media, (libvlc_media_list_t* p_ml, libvlc_media_t* p_md), (p_ml, p_md), Base, NoStub) \
    X(int, libvlc_media_list_insert_media, (libvlc_media_list_t* p_ml, libvlc_media_t* p_md, int i_pos), (p_ml, p_md, i_pos), Base, NoStub) \
    X(int, libvlc_media_list_remove_index, (libvlc_media_list_t* p_ml, int i_pos), (p_ml, i_pos), Base, NoStub) \
    X(int, libvlc_media_list_count, (libvlc_media_list_t* p_ml), (p_ml), Base, NoStub) \
    X(libvlc_media_t*, libvlc_media_list_item_at_index, (libvlc_media_list_t* p_ml, int i_pos), (p_ml, i_pos), Base, NoStub) \
    X(int, libvlc_media_list_index_of_item, (libvlc_media_list_t* p_ml, libvlc_media_t* p_md), (p_ml, p_md), Base, NoStub) \
    X(int, libvlc_media_list_is_readonly, (libvlc_media_list_t* p_ml), (p_ml), Base, NoStub) \
    X(void, libvlc_media_list_lock, (libvlc_media_list_t* p_ml), (p_ml), Base, NoStub) \
    X(void, libvlc_media_list_unlock, (libvlc_media_list_t* p_ml), (p_ml), Base, NoStub) \
    X(libvlc_event_manager_t*, libvlc_media_list_event_manager, (libvlc_media_list_t* p_ml), (p_ml), Base, NoStub) \
    X(libvlc_media_list_player_t*, libvlc_media_list_player_new, (libvlc_instance_t* p_instance), (p_instance), Base, NoStub) \
    X(void, libvlc_media_list_player_release, (libvlc_media_list_player_t* p_mlp), (p_mlp), Base, NoStub) \
    X(void, libvlc_media_list_player_set_media_player, (libvlc_media_list_player_t* p_mlp, libvlc_media_player_t* p_mi), (p_mlp, p_mi), Base, NoStub) \
    X(void, libvlc_media_list_player_set_media_list, (libvlc_media_list_player_t* p_mlp, libvlc_media_list_t* p_mlist), (p_mlp, p_mlist), Base, NoStub) \
    X(void, libvlc_media_list_player_play, (libvlc_media_list_player_t* p_mlp), (p_mlp), Base, NoStub) \
    X(void, libvlc_media_list_player_pause, (libvlc_media_list_player_t* p_mlp), (p_mlp), Base, NoStub) \
    X(int, libvlc_media_list_player_is_playing, (libvlc_media_list_player_t* p_mlp), (p_mlp), Base, NoStub) \
    X(libvlc_state_t, libvlc_media_list_player_get_state, (libvlc_media_list_player_t* p_mlp), (p_mlp), Base, NoStub) \
    X(int, libvlc_media_list_player_play_item_at_index, (libvlc_media_list_player_t* p_mlp, int i_index), (p_mlp, i_index), Base, NoStub) \
    X(int, libvlc_media_list_player_play_item, (libvlc_media_list_player_t* p_mlp, libvlc_media_t* p_md), (p_mlp, p_md), Base, NoStub) \
    X(void, libvlc_media_list_player_stop, (libvlc_media_list_player_t* p_mlp), (p_mlp), Base, NoStub) \
    X(int, libvlc_media_list_player_next, (libvlc_media_list_player_t* p_mlp), (p_mlp), Base, NoStub) \
    X(libvlc_media_library_t*, libvlc_media_library_new, (libvlc_instance_t* p_instance), (p_instance), Base, NoStub) \
    X(void, libvlc_media_library_release, (libvlc_media_library_t* p_mlib), (p_mlib), Base, NoStub) \
    X(void, libvlc_media_library_retain, (libvlc_media_library_t* p_mlib), (p_mlib), Base, NoStub) \
    X(int, libvlc_media_library_load, (libvlc_media_library_t* p_mlib), (p_mlib), Base, NoStub) \
    X(libvlc_media_list_t*, libvlc_media_library_media_list, (libvlc_media_library_t* p_mlib), (p_mlib), Base, NoStub) \
    X(libvlc_media_discoverer_t*, libvlc_media_discoverer_new_from_name, (libvlc_instance_t* p_inst, const char* psz_name), (p_inst, psz_name), Base, NoStub) \
    X(void, libvlc_media_discoverer_release, (libvlc_media_discoverer_t* p_mdis), (p_mdis), Base, NoStub) \
    X(char*, libvlc_media_discoverer_localized_name, (libvlc_media_discoverer_t* p_mdis), (p_mdis), Base, NoStub) \
    X(libvlc_media_list_t*, libvlc_media_discoverer_media_list, (libvlc_media_discoverer_t* p_mdis), (p_mdis), Base, NoStub) \
    X(libvlc_event_manager_t*, libvlc_media_discoverer_event_manager, (libvlc_media_discoverer_t* p_mdis), (p_mdis), Base, NoStub) \
    X(int, libvlc_media_discoverer_is_running, (libvlc_media_discoverer_t* p_mdis), (p_mdis), Base, NoStub) \
    X(void, libvlc_vlm_release, (libvlc_instance_t* p_instance), (p_instance), Base, NoStub) \
    X(int, libvlc_vlm_add_broadcast, (libvlc_instance_t* p_instance, const char* psz_name, const char* psz_input, const char* psz_output, int i_options, const char* const* ppsz_options, int b_enabled, int b_loop), (p_instance, psz_name, psz_input, psz_output, i_options, ppsz_options, b_enabled, b_loop), Base, NoStub) \
    X(int, libvlc_vlm_add_vod, (libvlc_instance_t* p_instance, const char* psz_name, const char* psz_input, int i_options, const char* const* ppsz_options, int b_enabled, const char* psz_mux), (p_instance, psz_name, psz_input, i_options, ppsz_options, b_enabled, psz_mux), Base, NoStub) \
    X(int, libvlc_vlm_del_media, (libvlc_instance_t* p_instance, const char* psz_name), (p_instance, psz_name), Base, NoStub) \
    X(int, libvlc_vlm_set_enabled, (libvlc_instance_t* p_instance, const char* psz_name, int b_enabled), (p_instance, psz_name, b_enabled), Base, NoStub) \
    X(int, libvlc_vlm_set_output, (libvlc_instance_t* p_instance, const char* psz_name, const char* psz_output), (p_instance, psz_name, psz_output), Base, NoStub) \
    X(int, libvlc_vlm_set_input, (libvlc_instance_t* p_instance, const char* psz_name, const char* psz_input), (p_instance, psz_name, psz_input), Base, NoStub) \
    X(int, libvlc_vlm_add_input, (libvlc_instance_t* p_instance, const char* psz_name, const char* psz_input), (p_instance, psz_name, psz_input), Base, NoStub) \
    X(int, libvlc_vlm_set_loop, (libvlc_instance_t* p_instance, const char* psz_name, int b_loop), (p_instance, psz_name, b_loop), Base, NoStub) \
    X(int, libvlc_vlm_set_mux, (libvlc_instance_t* p_instance, const char* psz_name, const char* psz_mux), (p_instance, psz_name, psz_mux), Base, NoStub) \
    X(int, libvlc_vlm_change_media, (libvlc_instance_t* p_instance, const char* psz_name, const char* psz_input, const char* psz_output, int i_options, const char* const* ppsz_options, int b_enabled, int b_loop), (p_instance, psz_name, psz_input, psz_output, i_options, ppsz_options, b_enabled, b_loop), Base, NoStub) \
    X(int, libvlc_vlm_play_media, (libvlc_instance_t* p_instance, const char* psz_name), (p_instance, psz_name), Base, NoStub) \
    X(int, libvlc_vlm_stop_media, (libvlc_instance_t* p_instance, const char* psz_name), (p_instance, psz_name), Base, NoStub) \
    X(int, libvlc_vlm_pause_media, (libvlc_instance_t* p_instance, const char* psz_name), (p_instance, psz_name), Base, NoStub) \
    X(int, libvlc_vlm_seek_media, (libvlc_instance_t* p_instance, const char* psz_name, float f_percentage), (p_instance, psz_name, f_percentage), Base, NoStub) \
    X(const char*, libvlc_vlm_show_media, (libvlc_instance_t* p_instance, const char* psz_name), (p_instance, psz_name), Base, NoStub) \
    X(float, libvlc_vlm_get_media_instance_position, (libvlc_instance_t* p_instance, const char* psz_name, int i_instance), (p_instance, psz_name, i_instance), Base, NoStub) \
    X(int, libvlc_vlm_get_media_instance_time, (libvlc_instance_t* p_instance, const char* psz_name, int i_instance), (p_instance, psz_name, i_instance), Base, NoStub) \
    X(int, libvlc_vlm_get_media_instance_length, (libvlc_instance_t* p_instance, const char* psz_name, int i_instance), (p_instance, psz_name, i_instance), Base, NoStub) \
    X(int, libvlc_vlm_get_media_instance_rate, (libvlc_instance_t* p_instance, const char* psz_name, int i_instance), (p_instance, psz_name, i_instance), Base, NoStub) \
    /* Bound from libvlc 1.1.0 on; stubs below that. */ \
    X(const char*, libvlc_errmsg, (void), (), V1_1_0, Zero) \
    X(int, libvlc_video_get_logo_int, (libvlc_media_player_t* p_mi, unsigned option), (p_mi, option), V1_1_0, MinusOne) \
    X(void, libvlc_video_set_logo_int, (libvlc_media_player_t* p_mi, unsigned option, int value), (p_mi, option, value), V1_1_0, NoResult) \
    X(void, libvlc_video_set_logo_string, (libvlc_media_player_t* p_mi, unsigned option, const char* psz_value), (p_mi, option, psz_value), V1_1_0, NoResult) \
    X(int, libvlc_video_get_marquee_int, (libvlc_media_player_t* p_mi, unsigned option), (p_mi, option), V1_1_0, MinusOne) \
    X(char*, libvlc_video_get_marquee_string, (libvlc_media_player_t* p_mi, unsigned option), (p_mi, option), V1_1_0, Zero) \
    X(void, libvlc_video_set_marquee_int, (libvlc_media_player_t* p_mi, unsigned option, int i_val), (p_mi, option, i_val), V1_1_0, NoResult) \
    X(void, libvlc_video_set_marquee_string, (libvlc_media_player_t* p_mi, unsigned option, const char* psz_text), (p_mi, option, psz_text), V1_1_0, NoResult) \
    X(void, libvlc_video_set_deinterlace, (libvlc_media_player_t* p_mi, const char* psz_mode), (p_mi, psz_mode), V1_1_0, NoResult) \
    X(int, libvlc_video_get_cursor, (libvlc_media_player_t* p_mi, unsigned num, int* px, int* py), (p_mi, num, px, py), V1_1_0, MinusOne) \
    X(int, libvlc_video_get_size, (libvlc_media_player_t* p_mi, unsigned num, unsigned* px, unsigned* py), (p_mi, num, px, py), V1_1_0, MinusOne) \
    X(void, libvlc_video_set_key_input, (libvlc_media_player_t* p_mi, unsigned on), (p_mi, on), V1_1_0, NoResult) \
    X(void, libvlc_video_set_mouse_input, (libvlc_media_player_t* p_mi, unsigned on), (p_mi, on), V1_1_0, NoResult) \
    X(void, libvlc_clearerr, (void), (), V1_1_0, NoResult) \
    X(const char*, libvlc_vprinterr, (const char* fmt, va_list ap), (fmt, ap), V1_1_0, Zero) \
    X(const char*, libvlc_printerr, (const char* fmt, ...), (fmt), V1_1_0, Zero) \
    X(libvlc_event_manager_t*, libvlc_media_list_player_event_manager, (libvlc_media_list_player_t* p_mlp), (p_mlp), V1_1_0, Zero) \
    X(void, libvlc_media_list_player_set_playback_mode, (libvlc_media_list_player_t* p_mlp, libvlc_playback_mode_t e_mode), (p_mlp, e_mode), V1_1_0, NoResult) \
    X(int, libvlc_media_list_player_previous, (libvlc_media_list_player_t* p_mlp), (p_mlp), V1_1_0, MinusOne) \
    X(void, libvlc_media_player_next_frame, (libvlc_media_player_t* p_mi), (p_mi), V1_1_0, NoResult) \
    X(libvlc_event_manager_t*, libvlc_vlm_get_event_manager, (libvlc_instance_t* p_instance), (p_instance), V1_1_0, Zero) \
    X(void, libvlc_media_parse, (libvlc_media_t* p_md), (p_md), V1_1_0, NoResult) \
    X(void, libvlc_media_parse_async, (libvlc_media_t* p_md), (p_md), V1_1_0, NoResult) \
    X(int, libvlc_media_is_parsed, (libvlc_media_t* p_md), (p_md), V1_1_0, Zero) \
    X(libvlc_media_t*, libvlc_media_new_location, (libvlc_instance_t* p_instance, const char* psz_mrl), (p_instance, psz_mrl), V1_1_0, Zero) \
    X(libvlc_media_t*, libvlc_media_new_path, (libvlc_instance_t* p_instance, const char* path), (p_instance, path), V1_1_0, Zero) \
    X(void, libvlc_media_add_option_flag, (libvlc_media_t* p_md, const char* psz_options, unsigned i_flags), (p_md, psz_options, i_flags), V1_1_0, NoResult) \
    X(void, libvlc_media_set_meta, (libvlc_media_t* p_md, libvlc_meta_t e_meta, const char* psz_value), (p_md, e_meta, psz_value), V1_1_0, NoResult) \
    X(int, libvlc_media_save_meta, (libvlc_media_t* p_md), (p_md), V1_1_0, Zero) \
    X(int, libvlc_media_get_stats, (libvlc_media_t* p_md, libvlc_media_stats_t* p_stats), (p_md, p_stats), V1_1_0, Zero) \
    X(int, libvlc_media_get_tracks_info, (libvlc_media_t* p_md, libvlc_media_track_info_t** tracks), (p_md, tracks), V1_1_0, Zero) \
    /* Bound from libvlc 1.1.1 on. */ \
    X(void, libvlc_video_set_format, (libvlc_media_player_t* mp, const char* chroma, unsigned width, unsigned height, unsigned pitch), (mp, chroma, width, height, pitch), V1_1_1, NoResult) \
    X(void, libvlc_set_user_agent, (libvlc_instance_t* p_instance, const char* name, const char* http), (p_instance, name, http), V1_1_1, NoResult) \
    X(void, libvlc_media_player_set_pause, (libvlc_media_player_t* mp, int do_pause), (mp, do_pause), V1_1_1, NoResult) \
    X(void, libvlc_video_set_callbacks, (libvlc_media_player_t* mp, libvlc_video_lock_cb lock, libvlc_video_unlock_cb unlock, libvlc_video_display_cb display, void* opaque), (mp, lock, unlock, display, opaque), V1_1_1, NoResult) \
    X(int64_t, libvlc_audio_get_delay, (libvlc_media_player_t* p_mi), (p_mi), V1_1_1, Zero) \
    X(int, libvlc_audio_set_delay, (libvlc_media_player_t* p_mi, int64_t i_delay), (p_mi, i_delay), V1_1_1, MinusOne) \
    X(int, libvlc_video_get_adjust_int, (libvlc_media_player_t* p_mi, unsigned option), (p_mi, option), V1_1_1, Zero) \
    X(void, libvlc_video_set_adjust_int, (libvlc_media_player_t* p_mi, unsigned option, int value), (p_mi, option, value), V1_1_1, NoResult) \
    X(float, libvlc_video_get_adjust_float, (libvlc_media_player_t* p_mi, unsigned option), (p_mi, option), V1_1_1, Zero) \
    X(void, libvlc_video_set_adjust_float, (libvlc_media_player_t* p_mi, unsigned option, float value), (p_mi, option, value), V1_1_1, NoResult) \
    /* Bound from libvlc 1.1.5 on. */ \
    X(libvlc_media_t*, libvlc_media_new_fd, (libvlc_instance_t* p_instance, int fd), (p_instance, fd), V1_1_5, Zero) \
    /* Bound from libvlc 2.0.0 on. */ \
    X(libvlc_module_description_t*, libvlc_video_filter_list_get, (libvlc_instance_t* p_instance), (p_instance), V2_0_0, Zero) \
    X(libvlc_module_description_t*, libvlc_audio_filter_list_get, (libvlc_instance_t* p_instance), (p_instance), V2_0_0, Zero) \
    X(void, libvlc_module_description_list_release, (libvlc_module_description_t* p_list), (p_list), V2_0_0, NoResult) \
    X(void, libvlc_set_exit_handler, (libvlc_instance_t* p_instance, void (*cb) (void *), void* opaque), (p_instance, cb, opaque), V2_0_0, NoResult) \
    X(void, libvlc_free, (void* ptr), (ptr), V2_0_0, NoResult) \
    X(void, libvlc_video_set_format_callbacks, (libvlc_media_player_t* mp, libvlc_video_format_cb setup, libvlc_video_cleanup_cb cleanup), (mp, setup, cleanup), V2_0_0, NoResult) \
    X(void, libvlc_audio_set_callbacks, (libvlc_media_player_t* mp, libvlc_audio_play_cb play, libvlc_audio_pause_cb pause, libvlc_audio_resume_cb resume, libvlc_audio_flush_cb flush, libvlc_audio_drain_cb drain, void* opaque), (mp, play, pause, resume, flush, drain, opaque), V2_0_0, NoResult) \
    X(void, libvlc_audio_set_volume_callback, (libvlc_media_player_t* mp, libvlc_audio_set_volume_cb set_volume), (mp, set_volume), V2_0_0, NoResult) \
    X(void, libvlc_audio_set_format_callbacks, (libvlc_media_player_t* mp, libvlc_audio_setup_cb setup, libvlc_audio_cleanup_cb cleanup), (mp, setup, cleanup), V2_0_0, NoResult) \
    X(void, libvlc_audio_set_format, (libvlc_media_player_t* mp, const char* format, unsigned rate, unsigned channels), (mp, format, rate, channels), V2_0_0, NoResult) \
    X(void, libvlc_media_player_navigate, (libvlc_media_player_t* p_mi, unsigned navigate), (p_mi, navigate), V2_0_0, NoResult) \
    X(int64_t, libvlc_video_get_spu_delay, (libvlc_media_player_t* p_mi), (p_mi), V2_0_0, Zero) \
    X(int, libvlc_video_set_spu_delay, (libvlc_media_player_t* p_mi, int64_t i_delay), (p_mi, i_delay), V2_0_0, MinusOne) \
    X(void, libvlc_media_list_player_retain, (libvlc_media_list_player_t* p_mlp), (p_mlp), V2_0_0, NoResult) \
    X(void, libvlc_track_description_list_release, (libvlc_track_description_t* p_track_description), (p_track_description), V2_0_0, NoResult) \
    /* Bound from libvlc 2.1.0 on. */ \
    X(void, libvlc_media_player_set_video_title_display, (libvlc_media_player_t* p_mi, libvlc_position_t position, unsigned int timeout), (p_mi, position, timeout), V2_1_0, NoResult) \
    X(libvlc_audio_output_device_t*, libvlc_audio_output_device_list_get, (libvlc_instance_t* p_instance, const char* aout), (p_instance, aout), V2_1_0, Zero) \
    X(void, libvlc_audio_output_device_list_release, (libvlc_audio_output_device_t* p_list), (p_list), V2_1_0, NoResult) \
    X(unsigned, libvlc_media_tracks_get, (libvlc_media_t* p_md, libvlc_media_track_t*** tracks), (p_md, tracks), V2_1_0, Zero) \
    X(void, libvlc_media_tracks_release, (libvlc_media_track_t** p_tracks, unsigned i_count), (p_tracks, i_count), V2_1_0, NoResult) \
    X(void, libvlc_set_app_id, (libvlc_instance_t* p_instance, const char* id, const char* version, const char* icon), (p_instance, id, version, icon), V2_1_0, NoResult) \
    X(void, libvlc_log_get_context, (const libvlc_log_t* ctx, const char** module, const char** file, unsigned* line), (ctx, module, file, line), V2_1_0, NoResult) \
    X(void, libvlc_log_get_object, (const libvlc_log_t* ctx, const char** name, const char** header, uintptr_t* id), (ctx, name, header, id), V2_1_0, NoResult) \
    X(void, libvlc_log_set, (libvlc_instance_t* p_instance, libvlc_log_cb cb, void* data), (p_instance, cb, data), V2_1_0, NoResult) \
    X(void, libvlc_log_unset, (libvlc_instance_t* p_instance), (p_instance), V2_1_0, NoResult) \
    X(void, libvlc_log_set_file, (libvlc_instance_t* p_instance, FILE* stream), (p_instance, stream), V2_1_0, NoResult) \
    /* Bound from libvlc 2.2.0 on. */ \
    X(int, libvlc_media_player_program_scrambled, (libvlc_media_player_t* p_mi), (p_mi), V2_2_0, Zero) \
    X(libvlc_audio_output_device_t*, libvlc_audio_output_device_enum, (libvlc_media_player_t* mp), (mp), V2_2_0, Zero) \
    X(unsigned, libvlc_audio_equalizer_get_preset_count, (void), (), V2_2_0, Zero) \
    X(const char*, libvlc_audio_equalizer_get_preset_name, (unsigned u_index), (u_index), V2_2_0, Zero) \
    X(unsigned, libvlc_audio_equalizer_get_band_count, (void), (), V2_2_0, Zero) \
    X(float, libvlc_audio_equalizer_get_band_frequency, (unsigned u_index), (u_index), V2_2_0, Zero) \
    X(libvlc_equalizer_t*, libvlc_audio_equalizer_new, (void), (), V2_2_0, Zero) \
    X(libvlc_equalizer_t*, libvlc_audio_equalizer_new_from_preset, (unsigned u_index), (u_index), V2_2_0, Zero) \
    X(void, libvlc_audio_equalizer_release, (libvlc_equalizer_t* p_equalizer), (p_equalizer), V2_2_0, NoResult) \
    X(int, libvlc_audio_equalizer_set_preamp, (libvlc_equalizer_t* p_equalizer, float f_preamp), (p_equalizer, f_preamp), V2_2_0, Zero) \
    X(float, libvlc_audio_equalizer_get_preamp, (libvlc_equalizer_t* p_equalizer), (p_equalizer), V2_2_0, Zero) \
    X(int, libvlc_audio_equalizer_set_amp_at_index, (libvlc_equalizer_t* p_equalizer, float f_amp, unsigned u_band), (p_equalizer, f_amp, u_band), V2_2_0, Zero) \
    X(float, libvlc_audio_equalizer_get_amp_at_index, (libvlc_equalizer_t* p_equalizer, unsigned u_band), (p_equalizer, u_band), V2_2_0, Zero) \
    X(int, libvlc_media_player_set_equalizer, (libvlc_media_player_t* p_mi, libvlc_equalizer_t* p_equalizer), (p_mi, p_equalizer), V2_2_0, Zero) \
    /* end of list */
