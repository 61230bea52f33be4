#pragma once
// The contact numbers shown in the main window caption and in the default
// trailer of copied plans. Placeholders, kept here so that they change in one
// place.
#define ZR_CONTACT_GROUP "10000000"
#define ZR_CONTACT_AUTHOR "10000001"
